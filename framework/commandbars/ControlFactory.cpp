#include "framework/commandbars/ControlFactory.h"

#include "classlib/CString.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/ControlToolbars.h"

#include <array>

namespace {

COSMControl* CreateButton()
{
    return static_cast<COSMControl*>(COSMControlButton::CreateObject());
}

COSMControl* CreatePopup()
{
    return static_cast<COSMControl*>(COSMControlPopup::CreateObject());
}

COSMControl* CreateToolbarsList()
{
    return static_cast<COSMControl*>(COSMControlToolbars::CreateObject());
}

typedef std::array<COSMControlFactory::Creator, COSMControlFactory::kLastType + 1> TypeTable;

// What the table starts with: the button for Type 1, the popup for Types 2 to 4. Both tables are filled before any
// code runs (constant initialisation), so the controls library's defaults, registered while the program starts,
// are never overwritten.
constexpr TypeTable kBarTypes = {nullptr, &CreateButton, &CreatePopup, &CreatePopup, &CreatePopup};
TypeTable g_defaultTypes = kBarTypes;
TypeTable g_types = kBarTypes;
// The toolbars list lives beside the bars; the controls library registers the other list controls.
typedef std::array<COSMControlFactory::Creator, COSMControlFactory::kListControlCount> ListTable;
constexpr ListTable kBarLists = {nullptr, nullptr, &CreateToolbarsList, nullptr, nullptr};
static_assert(COSMControlFactory::kToolbars == 2, "the toolbars list's slot");
ListTable g_defaultLists = kBarLists;
ListTable g_lists = kBarLists;

// Command ids with a list control of their own. COSMControls::Add and menu conversion know different ids for the
// recent-file list.
struct CommandClass
{
    UINT id;
    COSMControlFactory::ListControl kind;
};

const CommandClass kAddCommands[] = {
    {35000, COSMControlFactory::kWindowList},
    {35002, COSMControlFactory::kWorkspaceActions},
    {59392, COSMControlFactory::kToolbars},
    {35003, COSMControlFactory::kRecentFileList},
};

const CommandClass kMenuCommands[] = {
    {35000, COSMControlFactory::kWindowList},
    {35002, COSMControlFactory::kWorkspaceActions},
    {59392, COSMControlFactory::kToolbars},
    {57616, COSMControlFactory::kRecentFileList},
};

const UINT kOleVerbsId = 57872;
const char kOleVerbsCaption[] = "<<OLE VERBS GO HERE>>";

COSMControl* Make(COSMControlFactory::Creator creator)
{
    return creator ? creator() : nullptr;
}

// A Type 1 control for the id: its list control (null until registered) or a button.
template <size_t N> COSMControl* CreateButtonFor(const CommandClass (&commands)[N], UINT id)
{
    for (const CommandClass& command : commands)
        if (command.id == id)
            return Make(g_lists[command.kind]);
    return Make(g_types[COSMControlFactory::kTypeButton]);
}

}  // namespace

void COSMControlFactory::RegisterType(int type, Creator creator)
{
    if (type >= kFirstType && type <= kLastType)
        g_types[type] = creator;
}

void COSMControlFactory::RegisterListControl(ListControl kind, Creator creator)
{
    if (kind >= 0 && kind < kListControlCount)
        g_lists[kind] = creator;
}

COSMControlFactory::Creator COSMControlFactory::GetTypeCreator(int type)
{
    return type >= kFirstType && type <= kLastType ? g_types[type] : nullptr;
}

COSMControlFactory::Creator COSMControlFactory::GetListControlCreator(ListControl kind)
{
    return kind >= 0 && kind < kListControlCount ? g_lists[kind] : nullptr;
}

void COSMControlFactory::RegisterDefaultType(int type, Creator creator)
{
    if (type < kFirstType || type > kLastType)
        return;
    g_defaultTypes[type] = creator;
    g_types[type] = creator;
}

void COSMControlFactory::RegisterDefaultListControl(ListControl kind, Creator creator)
{
    if (kind < 0 || kind >= kListControlCount)
        return;
    g_defaultLists[kind] = creator;
    g_lists[kind] = creator;
}

void COSMControlFactory::ResetRegistrations()
{
    g_types = g_defaultTypes;
    g_lists = g_defaultLists;
}

COSMControl* COSMControlFactory::CreateForAdd(int type, UINT id)
{
    if (type == kTypeButton)
        return CreateButtonFor(kAddCommands, id);
    return Make(GetTypeCreator(type));
}

COSMControl* COSMControlFactory::CreateForMenu(int type, UINT id, const CString& caption)
{
    if (type == kTypeCustom)
        return nullptr;
    if (type != kTypeButton)
        return Make(GetTypeCreator(type));
    if (id == kOleVerbsId && caption == kOleVerbsCaption)
        return Make(g_lists[kOleItems]);
    return CreateButtonFor(kMenuCommands, id);
}
