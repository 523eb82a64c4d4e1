#include "StatusBarTestSupport.h"

namespace status_bar_test {

BEGIN_MESSAGE_MAP(CBarTestFrame, CFrameWnd)
    ON_WM_SYSCOMMAND()
    ON_UPDATE_COMMAND_UI(ID_PANE_ENABLE, OnUpdateEnable)
    ON_UPDATE_COMMAND_UI(ID_PANE_CHECK, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(ID_PANE_TEXT, OnUpdateText)
    ON_UPDATE_COMMAND_UI(ID_PANE_BUTTON, OnUpdateButton)
    ON_UPDATE_COMMAND_UI(ID_SWITCH_A, OnUpdateSwitchA)
    ON_UPDATE_COMMAND_UI(ID_SWITCH_B, OnUpdateSwitchB)
END_MESSAGE_MAP()

}  // namespace status_bar_test
