#include "framework/controls/ImageEditorDialog.h"

#include "classlib/CommonDialogs.h"
#include "classlib/DataExchange.h"
#include "classlib/FrameMessages.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/VisualStyleWrapper.h"

#include <algorithm>
#include <cstring>

namespace {

INT_PTR ChooseColorWithDialog(CWnd* pParent, COLORREF* pColor)
{
    CColorDialog dialog(*pColor, 0, pParent);
    const INT_PTR result = dialog.DoModal();
    *pColor = dialog.GetColor();
    return result;
}

OsmImageEditorColorChooser g_chooseColor = ChooseColorWithDialog;

// The tools bar, three rows of four, and the move bar.
const UINT kToolsBarIds[] = {
    COSMImageEditorDialog::kIdPencil,  COSMImageEditorDialog::kIdFill,   COSMImageEditorDialog::kIdUndo,
    COSMImageEditorDialog::kIdRedo,    COSMImageEditorDialog::kIdPicker, COSMImageEditorDialog::kIdLine,
    COSMImageEditorDialog::kIdCopy,    COSMImageEditorDialog::kIdPaste,  COSMImageEditorDialog::kIdRectangle,
    COSMImageEditorDialog::kIdEllipse, COSMImageEditorDialog::kIdClear,  COSMImageEditorDialog::kIdOpen,
};
const UINT kMoveBarIds[] = {COSMImageEditorDialog::kIdMoveLeft, COSMImageEditorDialog::kIdMoveDown,
                            COSMImageEditorDialog::kIdMoveUp, COSMImageEditorDialog::kIdMoveRight};
constexpr int kToolsPerRow = 4;

// The palette: id, colour, column and row, in the order the swatches are made.
struct PaletteSwatch
{
    UINT id;
    COLORREF color;
    int column;
    int row;
};
const PaletteSwatch kPalette[COSMImageEditorDialog::kPaletteCount] = {
    {9900, RGB(0, 0, 0), 0, 0},       {9908, RGB(128, 0, 0), 2, 0},     {9910, RGB(128, 128, 0), 3, 0},
    {9905, RGB(0, 0, 128), 6, 0},     {9911, RGB(0, 128, 0), 4, 0},     {9912, RGB(0, 128, 128), 5, 0},
    {9913, RGB(0, 0, 255), 6, 1},     {9915, RGB(128, 128, 128), 1, 0}, {9916, RGB(255, 0, 0), 2, 1},
    {9922, RGB(128, 0, 128), 7, 0},   {9924, RGB(255, 0, 255), 7, 1},   {9926, RGB(255, 255, 0), 3, 1},
    {9927, RGB(0, 255, 0), 4, 1},     {9928, RGB(0, 255, 255), 5, 1},   {9931, RGB(192, 192, 192), 1, 1},
    {9939, RGB(255, 255, 255), 0, 1},
};
constexpr int kSwatchSize = 11;
constexpr int kSwatchPitch = 13;

constexpr int kBarImageSize = 16;
constexpr int kBarButtonSize = 23;
// The classic strip's mask colour.
constexpr COLORREF kBarMaskColor = RGB(192, 192, 192);
// Bar style of both bars: a visible child with tips, docked at the top.
constexpr DWORD kBarStyle = 0x50002012;
// A tip holds 80 characters with its terminator.
constexpr int kMaxTipLength = 79;

}  // namespace

OsmImageEditorColorChooser OsmSetImageEditorColorChooser(OsmImageEditorColorChooser chooser)
{
    OsmImageEditorColorChooser previous = g_chooseColor;
    g_chooseColor = chooser ? chooser : ChooseColorWithDialog;
    return previous;
}

BEGIN_MESSAGE_MAP(COSMImageEditorDialog, CDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_WM_DESTROY()
    ON_NOTIFY(NM_CLICK, COSMImageEditorDialog::kIdCustomColor, OnCustomColorClick)
    ON_NOTIFY_RANGE(NM_CLICK, COSMImageEditorDialog::kIdFirstSwatch, COSMImageEditorDialog::kIdLastSwatch,
                    OnPaletteClick)
    ON_NOTIFY(NM_CLICK, COSMImageEditorDialog::kIdTransparent, OnTransparentClick)
    ON_UPDATE_COMMAND_UI_RANGE(COSMImageEditorDialog::kIdPencil, COSMImageEditorDialog::kIdEllipse, OnUpdateTool)
    ON_COMMAND_RANGE(COSMImageEditorDialog::kIdPencil, COSMImageEditorDialog::kIdEllipse, OnTool)
    ON_UPDATE_COMMAND_UI(COSMImageEditorDialog::kIdUndo, OnUpdateUndo)
    ON_UPDATE_COMMAND_UI(COSMImageEditorDialog::kIdRedo, OnUpdateRedo)
    ON_COMMAND(COSMImageEditorDialog::kIdUndo, OnUndo)
    ON_COMMAND(COSMImageEditorDialog::kIdRedo, OnRedo)
    ON_COMMAND(COSMImageEditorDialog::kIdClear, OnClear)
    ON_COMMAND(COSMImageEditorDialog::kIdCopy, OnCopy)
    ON_COMMAND(COSMImageEditorDialog::kIdPaste, OnPaste)
    ON_COMMAND(COSMImageEditorDialog::kIdOpen, OnOpen)
    ON_COMMAND_RANGE(COSMImageEditorDialog::kIdMoveLeft, COSMImageEditorDialog::kIdMoveRight, OnMove)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

COSMImageEditorDialog::COSMImageEditorDialog(CWnd* pParent, BOOL registerSafeWindow) : m_bRegister(registerSafeWindow)
{
    // Without the template the dialog cannot show: DoModal then fails.
    InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(GetResourceManager()->LoadDialogTemplate(IDD_OSM_IMAGE_EDITOR)),
                      pParent);
}

COSMImageEditorDialog::~COSMImageEditorDialog() = default;

void COSMImageEditorDialog::SetSize(int cx, int cy)
{
    m_cxImage = std::max(1, cx);
    m_cyImage = std::max(1, cy);
}

void COSMImageEditorDialog::SetIcon(const COSMImageManagerIconHandle& image)
{
    if (image.IsEmpty())
        return;
    const CSize extent = image.GetExtent();
    SetSize(extent.cx, extent.cy);
    m_image.CopyOwnImageFrom(image);

    auto* pBitmap = new COSMImageEditorBitmap(image.IsAlpha());
    if (!CreateDIB32(pBitmap, m_cxImage, m_cyImage))
    {
        delete pBitmap;
        return;
    }
    DIBSECTION dib{};
    ::GetObjectA(*pBitmap, sizeof(dib), &dib);
    auto* pOut = static_cast<DWORD*>(dib.dsBm.bmBits);
    const size_t count = static_cast<size_t>(m_cxImage) * m_cyImage;
    if (image.IsAlpha())
    {
        // The handle may keep its pixels straight or premultiplied: premultiply a copy of our own, so that the
        // pixels are premultiplied whichever it was, then turn them straight for editing.
        COSMImageManagerIconHandle premultiplied;
        premultiplied.CopyOwnImageFrom(image);
        const auto* pIn = reinterpret_cast<const DWORD*>(premultiplied.PreMultiply());
        BITMAP bm{};
        if (!pIn || !::GetObjectA(premultiplied.GetBitmap(), sizeof(bm), &bm) || bm.bmWidth != m_cxImage ||
            std::abs(bm.bmHeight) != m_cyImage)
        {
            delete pBitmap;
            return;
        }
        for (size_t i = 0; i < count; ++i)
        {
            const DWORD pixel = pIn[i];
            const DWORD alpha = pixel >> 24;
            if (alpha == 0)
            {
                pOut[i] = 0x00FFFEFF;  // the transparent value, alpha 0
                continue;
            }
            auto straight = [&](int shift) {
                const DWORD c = (pixel >> shift) & 0xFF;
                return std::min<DWORD>(255, c * 255 / alpha) << shift;
            };
            pOut[i] = (alpha << 24) | straight(16) | straight(8) | straight(0);
        }
    }
    else
    {
        std::fill(pOut, pOut + count, 0x00FFFEFF);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* pOld = dc.SelectObject(pBitmap);
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.GetIcon()), 0, 0, 0, 0, 0, DST_ICON);
        dc.SelectObject(pOld);
    }
    m_wndPicture.SetCurrentImage(pBitmap);
}

void COSMImageEditorDialog::GetIcon(COSMImageManagerIconHandle* result)
{
    if (!result)
        return;
    if (s_bTestAnswered)
    {
        if (!s_testImage.IsEmpty())
            *result = s_testImage;
        return;
    }
    COSMImageEditorBitmap* pCurrent = m_wndPicture.GetCurrentImage();
    if (!pCurrent || !pCurrent->GetSafeHandle())
        return;
    if (pCurrent->m_bAlpha)
    {
        result->SetBitmap(*pCurrent);
        return;
    }
    // The image list's masked add blackens the source's masked pixels: it gets a copy.
    COSMImageEditorBitmap masked;
    COSMImageEditorPicture::CopyImage(&masked, pCurrent, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                                      kImageEditorTransparent, nullptr);
    HIMAGELIST hList = ImageList_Create(m_cxImage, m_cyImage, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hList)
        return;
    ImageList_AddMasked(hList, masked, kImageEditorTransparent);
    if (ImageList_GetImageCount(hList) == 1)
        result->SetIcon(ImageList_GetIcon(hList, 0, 0));
    ImageList_Destroy(hList);
}

INT_PTR COSMImageEditorDialog::DoModal()
{
    if (s_bTestAnswered)
        return s_testAnswer;
    return CDialog::DoModal();
}

void COSMImageEditorDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kIdToolsPlaceholder, m_btnToolsPlaceholder);
    DDX_Control(pDX, kIdMovePlaceholder, m_btnMovePlaceholder);
}

void COSMImageEditorDialog::CreateBar(COSMImageEditorToolBar& bar, CButton& placeholder, const UINT* ids, int count,
                                      int wrapEvery)
{
    CRect rect;
    placeholder.GetWindowRect(&rect);
    ScreenToClient(&rect);
    if (!bar.Create(this, kBarStyle, AFX_IDW_TOOLBAR))
        return;
    bar.ModifyStyle(0, TBSTYLE_FLAT);
    bar.SetSizes(CSize(kBarButtonSize, kBarButtonSize), CSize(kBarImageSize, kBarImageSize));
    bar.SetButtons(ids, count);
    if (wrapEvery > 0)
    {
        for (int i = 0; i < count; ++i)
            if ((i + 1) % wrapEvery == 0)
                bar.SetButtonState(i, bar.GetButtonState(i) | TBSTATE_WRAP);
    }
    bar.SendMessage(TB_AUTOSIZE);
    const CSize size = bar.CalcFixedLayout(FALSE, TRUE);
    bar.SetWindowPos(nullptr, rect.left - 7, rect.top - 4, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void COSMImageEditorDialog::LoadBarImages()
{
    const int total = static_cast<int>(std::size(kToolsBarIds) + std::size(kMoveBarIds));
    if (!IsComCtlVersion6OrGreater())
    {
        // Before version 6 the lists cannot hold alpha: the classic strip, masked by its grey.
        for (CImageList* pList : {&m_imagesTools, &m_imagesMove})
        {
            CBitmap strip;
            if (!GetResourceManager()->LoadBitmap(&strip, IDB_OSM_IMAGE_EDITOR_TOOLS) ||
                !pList->Create(kBarImageSize, kBarImageSize, ILC_COLOR24 | ILC_MASK, 0, 1))
                continue;
            pList->Add(&strip, kBarMaskColor);
        }
    }
    else
    {
        for (CImageList* pList : {&m_imagesTools, &m_imagesMove})
        {
            if (!pList->Create(kBarImageSize, kBarImageSize, ILC_COLOR32 | ILC_MASK, 0, 1))
                continue;
            CBitmap strip;
            strip.Attach(LoadAlphaBitmapResource(IDB_OSM_IMAGE_EDITOR_TOOLS_ALPHA));
            if (strip.GetSafeHandle())
                pList->Add(&strip, static_cast<CBitmap*>(nullptr));
        }
    }
    // The move bar shows the four arrows after the twelve tools.
    for (int i = 0; i < total - static_cast<int>(std::size(kMoveBarIds)) && m_imagesMove.GetImageCount() > 0; ++i)
        m_imagesMove.Remove(0);
    m_wndToolsBar.SetImageList(m_imagesTools);
    m_wndMoveBar.SetImageList(m_imagesMove);
}

BOOL COSMImageEditorDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    CreateBar(m_wndToolsBar, m_btnToolsPlaceholder, kToolsBarIds, static_cast<int>(std::size(kToolsBarIds)),
              kToolsPerRow);
    CreateBar(m_wndMoveBar, m_btnMovePlaceholder, kMoveBarIds, static_cast<int>(std::size(kMoveBarIds)), 0);
    LoadBarImages();

    CRect anchor;
    if (CWnd* pAnchor = GetDlgItem(kIdPalette))
    {
        pAnchor->GetWindowRect(&anchor);
        ScreenToClient(&anchor);
    }
    for (int i = 0; i < kPaletteCount; ++i)
    {
        const PaletteSwatch& swatch = kPalette[i];
        const int x = anchor.left + kSwatchPitch * swatch.column;
        const int y = anchor.top - 4 + kSwatchPitch * swatch.row;
        m_palette[i].Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(x, y, x + kSwatchSize, y + kSwatchSize), this,
                            swatch.id);
        m_palette[i].SetColor(swatch.color);
    }
    SelectPicker(&m_palette[0]);

    m_pickerTransparent.SubclassDlgItem(kIdTransparent, this);
    m_pickerTransparent.SetColor(kImageEditorTransparent);
    m_pickerCustom.SubclassDlgItem(kIdCustomColor, this);

    m_wndPicture.Init(kIdPicture, this);
    m_wndPreview.Init(kIdPreview, this);

    if (m_bRegister)
    {
        CreateMouseManager()->AddSafeWindow(m_hWnd);
        m_hWndRegistered = m_hWnd;
    }
    return TRUE;
}

void COSMImageEditorDialog::OnDestroy()
{
    if (m_hWndRegistered)
    {
        if (COSMMouseManager* pMouse = GetThreadMouseManager())
            pMouse->RemoveSafeWindow(m_hWndRegistered);
        m_hWndRegistered = nullptr;
    }
    CDialog::OnDestroy();
}

LRESULT COSMImageEditorDialog::OnKickIdle(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    return 0;
}

void COSMImageEditorDialog::SelectPicker(COSMImageEditorPicker* pSwatch)
{
    if (m_pSelected)
        m_pSelected->SetSelected(FALSE);
    m_pSelected = pSwatch;
    if (m_pSelected)
        m_pSelected->SetSelected(TRUE);
}

void COSMImageEditorDialog::InvalidatePreview()
{
    if (m_wndPreview.GetSafeHwnd())
        m_wndPreview.InvalidateRect(nullptr, FALSE);
}

void COSMImageEditorDialog::OnColorPicked(COLORREF color)
{
    m_pickerCustom.SetColor(color);
    SelectPicker(&m_pickerCustom);
    if (m_nPreviousTool >= 0)
        m_nCurrentTool = m_nPreviousTool;
}

void COSMImageEditorDialog::OnCustomColorClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    COLORREF color = m_pickerCustom.GetColor();
    // OK and Cancel alike select the swatch; Cancel leaves its colour.
    if (g_chooseColor(this, &color) != 0)
    {
        m_pickerCustom.SetColor(color);
        SelectPicker(&m_pickerCustom);
    }
}

void COSMImageEditorDialog::OnPaletteClick(UINT nID, NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    for (COSMImageEditorPicker& swatch : m_palette)
        if (swatch.GetSafeHwnd() && static_cast<UINT>(swatch.GetDlgCtrlID()) == nID)
            SelectPicker(&swatch);
}

void COSMImageEditorDialog::OnTransparentClick(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    SelectPicker(&m_pickerTransparent);
}

void COSMImageEditorDialog::OnUpdateTool(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nCurrentTool == static_cast<int>(pCmdUI->m_nID - kIdPencil));
}

void COSMImageEditorDialog::OnTool(UINT nID)
{
    // The picker hands back to the tool before it after one pick: choosing it twice keeps that tool.
    m_nPreviousTool = m_nCurrentTool == COSMImageEditorPicture::kToolPicker ? m_nPreviousTool : m_nCurrentTool;
    m_nCurrentTool = static_cast<int>(nID - kIdPencil);
}

void COSMImageEditorDialog::OnUpdateUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_wndPicture.CanUndo());
}

void COSMImageEditorDialog::OnUpdateRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_wndPicture.CanRedo());
}

void COSMImageEditorDialog::OnUndo()
{
    m_wndPicture.Undo();
}

void COSMImageEditorDialog::OnRedo()
{
    m_wndPicture.Redo();
}

void COSMImageEditorDialog::OnClear()
{
    m_wndPicture.Clear();
}

void COSMImageEditorDialog::OnCopy()
{
    m_wndPicture.Copy();
}

void COSMImageEditorDialog::OnPaste()
{
    m_wndPicture.Paste();
}

void COSMImageEditorDialog::OnOpen()
{
    m_wndPicture.Load();
}

void COSMImageEditorDialog::OnMove(UINT nID)
{
    static const POINT kOffsets[] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}};
    const POINT offset = kOffsets[nID - kIdMoveLeft];
    m_wndPicture.Move(offset.x, offset.y);
}

BOOL COSMImageEditorDialog::OnToolTipText(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT_PTR id = pNMHDR->idFrom;
    const bool wide = pNMHDR->code == TTN_NEEDTEXTW;
    const UINT flags =
        wide ? reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags : reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags;
    if (flags & TTF_IDISHWND)
        id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));

    CString tip;
    if (id != 0)
    {
        BOOL bMissing = FALSE;
        const CString text = GetResourceManager()->LoadStringValue(static_cast<UINT>(id), &bMissing);
        if (bMissing)
            return FALSE;
        // The tip is the part after the first newline, up to the next one.
        const int first = text.Find('\n');
        if (first >= 0)
        {
            tip = text.Mid(first + 1);
            const int second = tip.Find('\n');
            if (second >= 0)
                tip = tip.Left(second);
        }
        if (tip.GetLength() > kMaxTipLength)
            tip = tip.Left(kMaxTipLength);
    }
    if (wide)
    {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        ::MultiByteToWideChar(CP_ACP, 0, tip, -1, pInfo->szText, static_cast<int>(std::size(pInfo->szText)));
        pInfo->szText[std::size(pInfo->szText) - 1] = L'\0';
        pInfo->lpszText = pInfo->szText;
    }
    else
    {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        ::lstrcpynA(pInfo->szText, tip, static_cast<int>(std::size(pInfo->szText)));
        pInfo->lpszText = pInfo->szText;
    }
    *pResult = 0;
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return TRUE;
}
