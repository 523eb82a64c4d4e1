// The private memory the process has committed now, walked region by region with VirtualQuery, for tests and
// harnesses that check what a piece of work leaves behind. Wine's PrivateUsage counts only the pages written to (or
// nothing): memory committed and never touched shows only in the address space itself.
#pragma once

long long CommittedPrivateBytes();
