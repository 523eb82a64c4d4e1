// Filling bars from toolbar resources and id lists, and putting a toolbar back to its original controls.
#include "classlib/CString.h"
#include "classlib/FrameWnd.h"
#include "classlib/Geometry.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ResourceManager.h"

#include <vector>

namespace {

// RT_TOOLBAR: a header of four 16-bit words (version, image width, image height, item count), then the items'
// command ids (0: a separator).
const WORD kToolBarResourceType = 241;
const DWORD kToolBarHeaderSize = 8;

// The module holding the resource: the framework's when it has it, else the class library's.
HINSTANCE ToolBarResourceModule(UINT id)
{
    HINSTANCE module = COSMResourceManager::GetResourceHandle();
    if (module && ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolBarResourceType)))
        return module;
    return AfxGetResourceHandle();
}

}  // namespace

BOOL COSMCommandBar::LoadToolBar(UINT id, BOOL loadIcons)
{
    m_controls->RemoveAll();
    HINSTANCE module = ToolBarResourceModule(id);
    if (LOWORD(id) == 0 || !module)
        return FALSE;
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolBarResourceType));
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    // The item count is only believed as far as the resource really reaches.
    if (!words || size < kToolBarHeaderSize)
        return FALSE;
    const int width = words[1];
    const int height = words[2];
    const int count = words[3];
    if (size < kToolBarHeaderSize + 2 * static_cast<DWORD>(count))
        return FALSE;

    std::vector<UINT> ids(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        ids[static_cast<size_t>(i)] = words[4 + i];

    BOOL result = TRUE;
    if (loadIcons)
    {
        std::vector<UINT> commands;
        for (UINT command : ids)
            if (command != 0)
                commands.push_back(command);
        if (!GetImageManager()->SetIconsFromResourceId(id, commands.data(), static_cast<int>(commands.size()), width,
                                                       height))
            result = FALSE;
        if (width != 16)
            m_iconSize = CSize(width, height);
    }
    return SetButtons(ids.data(), count) && result;
}

BOOL COSMCommandBar::SetButtons(const UINT* ids, int count)
{
    m_controls->RemoveAll();
    CWnd* site = GetSite();
    if (site && !::IsWindow(site->GetSafeHwnd()))
        site = nullptr;
    BOOL beginGroup = FALSE;
    for (int i = 0; i < count; ++i)
    {
        if (ids[i] == 0)
        {
            beginGroup = TRUE;
            continue;
        }
        COSMControlCreateBlock block;
        block.id = ids[i];
        block.toolBar = TRUE;
        block.position = i;
        block.commandBar = this;
        block.caption = m_title;
        block.type = 1;
        block.buttonStyle = 0;
        if (site &&
            site->SendMessage(COSMControls::kMessageBeforeCreateControl, 0, reinterpret_cast<LPARAM>(&block)) == 0)
        {
            // An unanswered request leaves everything as it was.
            block.control = nullptr;
            block.type = 1;
            block.buttonStyle = 0;
            block.id = ids[i];
        }
        COSMControl* control = block.control;
        if (control)
        {
            m_controls->AddControl(control, static_cast<int>(block.id), nullptr, -1, FALSE);
        }
        else
        {
            control = m_controls->Add(block.type, static_cast<int>(block.id));
            if (!control)
                continue;
            if (control->GetStyleField() != block.buttonStyle)
            {
                control->SetStyle(block.buttonStyle);
                control->DelayLayoutParent();
            }
            if (block.type == 2 && control->GetIconIdField() != static_cast<int>(block.id))
            {
                control->SetIconId(static_cast<int>(block.id));
                control->RedrawParent();
            }
        }
        if (beginGroup)
        {
            control->SetBeginGroup(TRUE);
            beginGroup = FALSE;
        }
        block.control = control;
        if (site)
            site->SendMessage(COSMControls::kMessageAfterCreateControl, 0, reinterpret_cast<LPARAM>(&block));
    }
    return TRUE;
}

BOOL COSMToolBar::LoadToolBar(UINT id, BOOL loadIcons)
{
    m_barId = id;
    if (!COSMCommandBar::LoadToolBar(id, loadIcons))
        return FALSE;
    m_controls->CreateOriginalControls();
    return TRUE;
}

int COSMToolBar::AskAboutBar(UINT formatId, UINT type)
{
    CString format;
    GetResourceManager()->LoadString(&format, formatId);
    CString question;
    question.Format(format, static_cast<LPCSTR>(m_title));
    // The frame stands as the owner of the question for as long as it shows.
    CWinApp* app = AfxGetApp();
    CWnd* mainWindow = app ? app->m_pMainWnd : nullptr;
    CFrameWnd* frame = GetFrameSite();
    if (app && frame)
        app->m_pMainWnd = frame;
    const int answer = s_pfnShowMessageBox(question, type);
    if (app && frame)
        app->m_pMainWnd = mainWindow;
    return answer;
}

BOOL COSMToolBar::ConfirmReset()
{
    return AskAboutBar(kResetQuestionId, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void COSMToolBar::Reset(BOOL ask)
{
    if (!m_builtIn || !IsCustomizable() || m_barId == 0)
        return;
    if (ask && !ConfirmReset())
        return;
    COSMOriginalControls* original = m_controls->GetOriginalControls();
    if (!original)
    {
        LoadToolBar(m_barId, FALSE);
    }
    else
    {
        // The snapshot outlives the removal: only the controls go.
        original->InternalAddRef();
        m_controls->RemoveAll();
        for (int i = 0; i < original->GetCount(); ++i)
        {
            const COSMControl* control = original->GetAt(i);
            if (!control->IsTemporary())
                m_controls->AddClone(control, -1, TRUE);
        }
        original->InternalRelease();
    }
    CWnd* site = GetSite();
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(kMessageReset, 0, reinterpret_cast<LPARAM>(this));
    OnIdleUpdateCmdUI(0, 0);
    OnRecalcLayout();
}
