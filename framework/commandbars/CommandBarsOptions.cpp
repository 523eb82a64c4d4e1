#include "framework/commandbars/CommandBarsOptions.h"

#include "classlib/Archive.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/PropExchange.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(COSMCommandBarsOptions, CCmdTarget)

namespace {

// Older stores lack the keys of later schemas.
const DWORD kFirstSchemaWithUsage = 8;
const DWORD kFirstSchemaWithKeyboardCues = 9;

BOOL QuerySystemKeyboardCues(BOOL* underlined)
{
    return ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, underlined, 0);
}

// An icon option of the paint manager is a 32-bit word; the store holds it as a BOOL.
void ExchangeIconOption(COSMPropExchange* px, LPCSTR name, DWORD* option, BOOL defaultValue)
{
    BOOL value = *option != 0;
    PropExchangeBool(px, name, &value, defaultValue);
    if (px->IsLoading())
        *option = static_cast<DWORD>(value);
}

// A named store leaves out an empty map; loading one that is absent then empties the map.
// More commands than any site has: the count of a damaged store.
const DWORD kMaxCommandListCount = 65535;

void ExchangeCommandListUnlessEmpty(COSMPropExchange* px, LPCSTR key, COSMCommandBarsOptions::CCommandIdMap& map)
{
    if (px->IsStoring() && px->CanOmitValues() && map.IsEmpty())
        return;
    COSMCommandBarsOptions::ExchangeCommandList(px, key, map);
}

}  // namespace

COSMCommandBarsOptions::QueryKeyboardCuesFn COSMCommandBarsOptions::s_pfnQueryKeyboardCues = &QuerySystemKeyboardCues;

COSMCommandBarsOptions::COSMCommandBarsOptions(COSMCommandBars* commandBars) : m_commandBars(commandBars)
{
    EnableAutomation();
}

COSMCommandBarsOptions::~COSMCommandBarsOptions() = default;

void COSMCommandBarsOptions::Serialize(CArchive& ar)
{
    COSMPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

void COSMCommandBarsOptions::DoPropExchange(COSMPropExchange* px)
{
    px->UseDefaultOnLoad(FALSE);
    px->UseDefaultOnSave(FALSE);

    DWORD schema = kSchema;
    PropExchangeDWord(px, "Schema", &schema, kSchema);

    PropExchangeBool(px, "AlwaysShowFullMenus", &m_alwaysShowFullMenus, TRUE);
    PropExchangeBool(px, "ShowFullAfterDelay", &m_showFullAfterDelay, TRUE);
    PropExchangeBool(px, "ToolBarScreenTips", &m_toolBarScreenTips, TRUE);
    PropExchangeBool(px, "ToolBarAccelTips", &m_toolBarAccelTips, FALSE);
    PropExchangeBool(px, "LargeIcons", &m_largeIcons, FALSE);

    if (schema >= kFirstSchemaWithUsage)
    {
        ExchangeCommandListUnlessEmpty(px, "UsedCommands", m_usedCommands);
        PropExchangeLong(px, "Animation", &m_animation, 0);
    }

    PropExchangeBool(px, "SyncFloatingBars", &m_syncFloatingBars, TRUE);
    PropExchangeBool(px, "ShowExpandButtonAlways", &m_showExpandButtonAlways, TRUE);
    PropExchangeSize(px, "IconsSize", &m_iconsSize, CSize(0, 0));
    PropExchangeSize(px, "LargeIconsSize", &m_largeIconsSize, CSize(0, 0));
    ExchangeCommandListUnlessEmpty(px, "HiddenCommands", m_hiddenCommands);

    // The icon switches belong to the manager's paint manager; free-standing options keep their place in the
    // store with values of their own.
    COSMPaintManagerIconsInfo ownIcons;
    ownIcons.iconsWithShadow = FALSE;
    ownIcons.useDisabledIcons = TRUE;
    ownIcons.useFadedIcons = TRUE;
    COSMPaintManager* paintManager = m_commandBars ? m_commandBars->GetPaintManager() : nullptr;
    COSMPaintManagerIconsInfo* icons = paintManager ? paintManager->GetIconsInfo() : &ownIcons;
    ExchangeIconOption(px, "IconsWithShadow", &icons->iconsWithShadow, FALSE);
    ExchangeIconOption(px, "UseDisabledIcons", &icons->useDisabledIcons, TRUE);
    ExchangeIconOption(px, "UseFadedIcons", &icons->useFadedIcons, TRUE);

    if (schema >= kFirstSchemaWithUsage)
    {
        // Stored a second time: readers of every schema find them where they expect them.
        PropExchangeBool(px, "SyncFloatingBars", &m_syncFloatingBars, TRUE);
        PropExchangeBool(px, "ShowExpandButtonAlways", &m_showExpandButtonAlways, TRUE);
        PropExchangeBool(px, "DblClickFloat", &m_dblClickFloat, FALSE);
        PropExchangeBool(px, "ShowTextBelowIcons", &m_showTextBelowIcons, FALSE);
        PropExchangeBool(px, "AltDragCustomization", &m_altDragCustomization, TRUE);
        PropExchangeBool(px, "AutoHideUnusedPopups", &m_autoHideUnusedPopups, TRUE);
        PropExchangeSize(px, "PopupIconsSize", &m_popupIconsSize, CSize(0, 0));
    }

    if (schema >= kFirstSchemaWithKeyboardCues)
    {
        PropExchangeDWord(px, "KeyboardCuesUse", &m_keyboardCuesUse, 1);
        PropExchangeLong(px, "KeyboardCuesShow", &m_keyboardCuesShow, kCuesAlways);
        if (px->IsLoading())
            ShowKeyboardCues(m_keyboardCuesShow);
    }
}

void COSMCommandBarsOptions::ExchangeCommandList(COSMPropExchange* px, LPCSTR key, CCommandIdMap& map)
{
    if (px->IsSequentialStorage())
    {
        if (px->IsLoading())
            map.RemoveAll();
        PropExchangeSerialize(px, key, &map);
        return;
    }

    const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection(key));
    if (!section)
        return;
    char name[32];
    if (section->IsStoring())
    {
        section->WriteCount(static_cast<DWORD>(map.GetCount()));
        int index = 0;
        for (POSITION pos = map.GetStartPosition(); pos; ++index)
        {
            UINT id = 0;
            UINT value = 0;
            map.GetNextAssoc(pos, id, value);
            long item = static_cast<long>(id);
            std::snprintf(name, sizeof(name), "Item%i", index);
            PropExchangeLong(section.Get(), name, &item, 0);
        }
    }
    else
    {
        // A damaged count would spin through billions of missing items: such a list keeps what the user had.
        const DWORD count = section->ReadCount();
        if (count > kMaxCommandListCount)
            return;
        map.RemoveAll();
        for (DWORD index = 0; index < count; ++index)
        {
            long item = 0;
            std::snprintf(name, sizeof(name), "Item%lu", static_cast<unsigned long>(index));
            PropExchangeLong(section.Get(), name, &item, 0);
            map.SetAt(static_cast<UINT>(item), 1);
        }
    }
}

void COSMCommandBarsOptions::ShowKeyboardCues(long mode)
{
    m_keyboardCuesShow = mode;
    if (!m_commandBars)
        return;
    m_commandBars->SetKeyboardCuesInUse(FALSE);
    m_commandBars->SetKeyboardCuesShown(mode != kCuesNever);
    if (mode != kCuesFollowSystem)
        return;
    // The system hides underlines until the keyboard is used: so do the bars.
    BOOL underlined = TRUE;
    if (s_pfnQueryKeyboardCues && s_pfnQueryKeyboardCues(&underlined) && !underlined)
    {
        m_commandBars->SetKeyboardCuesInUse(TRUE);
        m_commandBars->SetKeyboardCuesShown(FALSE);
    }
}
