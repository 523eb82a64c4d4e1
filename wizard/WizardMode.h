// The kind of answer file a build writes, chosen on the first dialog.
#pragma once

enum class WizardMode : int
{
    WindowsXp = 1,
    Windows7 = 2,
};
