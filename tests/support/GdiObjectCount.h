// The GDI objects the process holds now, for tests that check what a piece of work leaves behind or makes while it
// runs. Wine's GetGuiResources answers 0, so there the handle table is probed: slow (a pass over every slot), so
// count a few times per test, not in a loop.
#pragma once

int CountGdiObjects();
