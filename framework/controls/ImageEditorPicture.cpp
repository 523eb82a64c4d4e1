#include "framework/controls/ImageEditorPicture.h"

#include "classlib/CommonDialogs.h"
#include "classlib/OleDataObject.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/controls/ImageEditorDialog.h"
#include "framework/foundation/BufferDC.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ResourceManager.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Calls put (x, y) for each pixel of the line from a to b, both ends included, one pixel per step along its longer
// axis.
template <class Put> void ForEachLinePixel(CPoint a, CPoint b, Put put)
{
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;)
    {
        put(a.x, a.y);
        if (a.x == b.x && a.y == b.y)
            return;
        const int twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            a.x += sx;
        }
        if (twice <= dx)
        {
            error += dx;
            a.y += sy;
        }
    }
}

// The transparent colour as a 32-bit DIB pixel.
constexpr DWORD kTransparentPixel = 0x00FFFEFF;
// The undo history keeps at most this many images.
constexpr INT_PTR kMaxUndo = 16;

BOOL ChooseImageFileWithDialog(CWnd* pParent, LPCSTR lpszFilter, CString* pPath)
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, lpszFilter, pParent);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    *pPath = dialog.GetPathName();
    return TRUE;
}

OsmImageEditorFileChooser g_chooseImageFile = ChooseImageFileWithDialog;

// The bitmap's pixels as a 32-bit array (rows in the DIB's own order; both images of a comparison read the same).
std::vector<DWORD> ReadPixels32(HBITMAP hBitmap, int cx, int cy)
{
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    const int rows = ::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(cy), pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    if (rows != cy)
        pixels.clear();
    return pixels;
}

// Draws the bitmap at (x, y) in cx x cy, the way every copy step of the editor does.
void DrawBitmapAt(CDC& dc, HBITMAP hBitmap, int x, int y, int cx, int cy)
{
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, x, y, cx, cy, DST_BITMAP);
}

// A clipboard format names a bitmap with alpha when "DIB32" occurs in its name after the first character.
BOOL NamesAlphaDib(LPCSTR lpszName)
{
    const char* pFound = std::strstr(lpszName, "DIB32");
    return pFound && pFound != lpszName;
}

// The bitmap the clipboard holds, borrowed, and whether it carries alpha.
HBITMAP GetClipboardBitmap(COleDataObject& data, BOOL* pbAlpha)
{
    STGMEDIUM medium{};
    if (!data.IsDataAvailable(CF_BITMAP) || !data.GetData(CF_BITMAP, &medium) || !medium.hBitmap)
        return nullptr;
    BOOL bAlpha = FALSE;
    data.BeginEnumFormats();
    FORMATETC format{};
    while (!bAlpha && data.GetNextFormat(&format))
    {
        char name[255] = {};
        if (::GetClipboardFormatNameA(format.cfFormat, name, 254) > 0)
            bAlpha = NamesAlphaDib(name);
    }
    if (!bAlpha)
        bAlpha = data.IsDataAvailable(OSM_CF_ALPHA_BITMAP);
    *pbAlpha = bAlpha;
    return medium.hBitmap;
}

}  // namespace

OsmImageEditorFileChooser OsmSetImageEditorFileChooser(OsmImageEditorFileChooser chooser)
{
    OsmImageEditorFileChooser previous = g_chooseImageFile;
    g_chooseImageFile = chooser ? chooser : ChooseImageFileWithDialog;
    return previous;
}

BEGIN_MESSAGE_MAP(COSMImageEditorPicture, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

COSMImageEditorPicture::COSMImageEditorPicture()
{
    COSMResourceManager* pResources = GetResourceManager();
    m_hCursorShape = pResources->LoadCursor(IDC_OSM_IMAGE_EDITOR_SHAPE);
    m_hCursorFill = pResources->LoadCursor(IDC_OSM_IMAGE_EDITOR_FILL);
    m_hCursorPencil = pResources->LoadCursor(IDC_OSM_IMAGE_EDITOR_PENCIL);
    m_hCursorPicker = pResources->LoadCursor(IDC_OSM_IMAGE_EDITOR_PICKER);
}

COSMImageEditorPicture::~COSMImageEditorPicture()
{
    delete m_pCurrent;
    delete m_pBefore;
    m_undo.DeleteAll();
    m_redo.DeleteAll();
}

void COSMImageEditorPicture::Init(UINT nID, COSMImageEditorDialog* pDialog)
{
    m_pDialog = pDialog;
    SubclassDlgItem(nID, pDialog);
    const CSize image = pDialog->GetImageSize();
    m_cxImage = std::max<int>(1, image.cx);
    m_cyImage = std::max<int>(1, image.cy);

    // Whole cells: a control smaller than the image still gets one screen pixel per image pixel.
    CRect rect;
    GetWindowRect(&rect);
    m_cxCell = std::max<int>(1, rect.Width() / m_cxImage);
    m_cyCell = std::max<int>(1, rect.Height() / m_cyImage);
    SetWindowPos(&CWnd::wndTop, 0, 0, m_cxCell * m_cxImage + 1, m_cyCell * m_cyImage + 1, SWP_NOMOVE | SWP_NOACTIVATE);

    if (!m_dcMem.GetSafeHdc())
        m_dcMem.CreateCompatibleDC(nullptr);
}

COLORREF COSMImageEditorPicture::GetPixelAt(int px, int py) const
{
    if (!m_pCurrent)
        return kImageEditorTransparent;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap canvas;
    if (!CreateDIB32(&canvas, m_cxImage, m_cyImage))
        return kImageEditorTransparent;
    CBitmap* pOld = dc.SelectObject(&canvas);
    dc.FillSolidRect(0, 0, m_cxImage, m_cyImage, kImageEditorTransparent);
    DrawBitmapAt(dc, *m_pCurrent, 0, 0, m_cxImage, m_cyImage);
    const COLORREF color = dc.GetPixel(px, py);
    dc.SelectObject(pOld);
    return color;
}

CPoint COSMImageEditorPicture::PointToPixel(CPoint point) const
{
    return CPoint(point.x / m_cxCell, point.y / m_cyCell);
}

void COSMImageEditorPicture::CopyImage(COSMImageEditorBitmap* pTarget, COSMImageEditorBitmap* pSource, int cx, int cy,
                                       CPoint ptOffset, COLORREF clrFrom, COLORREF clrTo, CDC* pReferenceDC)
{
    CDC dc;
    dc.CreateCompatibleDC(pReferenceDC);
    pTarget->DeleteObject();
    pTarget->m_bAlpha = pSource ? pSource->m_bAlpha : FALSE;
    if (!CreateDIB32(pTarget, cx, cy))
        return;
    CBitmap* pOld = dc.SelectObject(pTarget);
    dc.FillSolidRect(0, 0, cx, cy, kImageEditorTransparent);
    if (pSource && pSource->GetSafeHandle())
    {
        DrawBitmapAt(dc, *pSource, ptOffset.x, ptOffset.y, cx, cy);
        if (clrFrom != clrTo && !pSource->m_bAlpha)
        {
            for (int y = 0; y < cy; ++y)
                for (int x = 0; x < cx; ++x)
                    if (dc.GetPixel(x, y) == clrFrom)
                        dc.SetPixel(x, y, clrTo);
        }
    }
    dc.SelectObject(pOld);
}

COSMImageEditorBitmap* COSMImageEditorPicture::CopyOf(COSMImageEditorBitmap* pSource) const
{
    auto* pCopy = new COSMImageEditorBitmap;
    CopyImage(pCopy, pSource, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent, kImageEditorTransparent,
              nullptr);
    return pCopy;
}

void COSMImageEditorPicture::RepairAlpha(COSMImageEditorBitmap* pDrawn, COSMImageEditorBitmap* pReference) const
{
    std::vector<DWORD> drawn = ReadPixels32(*pDrawn, m_cxImage, m_cyImage);
    std::vector<DWORD> reference = pReference && pReference->GetSafeHandle()
                                       ? ReadPixels32(*pReference, m_cxImage, m_cyImage)
                                       : std::vector<DWORD>(drawn.size(), kTransparentPixel);
    if (drawn.empty() || reference.size() != drawn.size())
        return;
    for (size_t i = 0; i < drawn.size(); ++i)
        if (drawn[i] != reference[i] && drawn[i] != kTransparentPixel)
            drawn[i] |= 0xFF000000;
    CBitmap repaired;
    if (!CreateDIB32(&repaired, m_cxImage, m_cyImage))
        return;
    DIBSECTION dib{};
    ::GetObjectA(repaired, sizeof(dib), &dib);
    std::memcpy(dib.dsBm.bmBits, drawn.data(), drawn.size() * sizeof(DWORD));
    pDrawn->DeleteObject();
    pDrawn->Attach(repaired.Detach());
}

void COSMImageEditorPicture::BeginEdit()
{
    delete m_pBefore;  // an edit left open (never the case with the capture held) is dropped, not leaked
    m_pBefore = m_pCurrent;
    m_pCurrent = CopyOf(m_pBefore);
    m_bEditPending = TRUE;
}

void COSMImageEditorPicture::ReplaceCurrent(COSMImageEditorBitmap* pNew)
{
    delete m_pCurrent;
    m_pCurrent = pNew;
    InvalidateRect(nullptr, FALSE);
    Invalidate();
}

void COSMImageEditorPicture::SetCurrentImage(COSMImageEditorBitmap* pImage)
{
    if (pImage == m_pCurrent)
        return;
    delete m_pCurrent;
    m_pCurrent = pImage;
    if (GetSafeHwnd())
        Invalidate();
}

void COSMImageEditorPicture::Commit()
{
    m_redo.DeleteAll();
    if (m_undo.GetCount() >= kMaxUndo)
        delete m_undo.RemoveHead();
    // An empty picture before the edit is an entry too: undoing to it empties the picture.
    m_undo.AddTail(m_pBefore);
    m_pBefore = nullptr;
    m_bEditPending = FALSE;
    Invalidate();
}

void COSMImageEditorPicture::Undo()
{
    if (m_undo.IsEmpty())
        return;
    COSMImageEditorBitmap* pPrevious = m_undo.RemoveTail();
    m_redo.AddTail(m_pCurrent);
    m_pCurrent = pPrevious;
    Invalidate();
}

void COSMImageEditorPicture::Redo()
{
    if (m_redo.IsEmpty())
        return;
    COSMImageEditorBitmap* pNext = m_redo.RemoveTail();
    m_undo.AddTail(m_pCurrent);
    m_pCurrent = pNext;
    Invalidate();
}

void COSMImageEditorPicture::Clear()
{
    delete m_pBefore;
    m_pBefore = m_pCurrent;
    m_pCurrent = nullptr;
    Commit();
}

void COSMImageEditorPicture::Move(int dx, int dy)
{
    delete m_pBefore;
    m_pBefore = m_pCurrent;
    m_pCurrent = new COSMImageEditorBitmap;
    CopyImage(m_pCurrent, m_pBefore, m_cxImage, m_cyImage, CPoint(dx, dy), kImageEditorTransparent,
              kImageEditorTransparent, nullptr);
    Commit();
}

void COSMImageEditorPicture::Copy()
{
    if (!::OpenClipboard(m_hWnd))
        return;
    if (!::EmptyClipboard())
    {
        ::CloseClipboard();
        return;
    }
    COSMImageEditorBitmap image;
    CopyImage(&image, m_pCurrent, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
              GetColorManager()->GetColor(COLOR_BTNFACE), nullptr);
    // The clipboard owns what it takes; a refusal leaves the bitmap ours, freed with image.
    if (::SetClipboardData(CF_BITMAP, image.GetSafeHandle()))
        image.Detach();
    if (m_pCurrent && m_pCurrent->m_bAlpha)
    {
        if (HGLOBAL hMarker = ::GlobalAlloc(GMEM_MOVEABLE, 1))
        {
            if (!::SetClipboardData(OSM_CF_ALPHA_BITMAP, hMarker))
                ::GlobalFree(hMarker);
        }
    }
    ::CloseClipboard();
}

void COSMImageEditorPicture::Paste()
{
    COleDataObject data;
    data.AttachClipboard();
    BOOL bAlpha = FALSE;
    HBITMAP hClipboard = GetClipboardBitmap(data, &bAlpha);
    if (!hClipboard)
        return;
    COSMImageEditorBitmap borrowed(bAlpha);
    borrowed.Attach(hClipboard);
    delete m_pBefore;
    m_pBefore = m_pCurrent;
    m_pCurrent = new COSMImageEditorBitmap;
    CopyImage(m_pCurrent, &borrowed, m_cxImage, m_cyImage, CPoint(0, 0), GetColorManager()->GetColor(COLOR_BTNFACE),
              kImageEditorTransparent, nullptr);
    borrowed.Detach();  // the clipboard's, not ours to delete
    Commit();
}

void COSMImageEditorPicture::Load()
{
    CString filter;
    GetResourceManager()->LoadString(&filter, IDS_OSM_IMAGE_EDITOR_FILTER);
    CString path;
    if (!g_chooseImageFile(nullptr, filter, &path))
        return;
    CString extension;
    if (const char* pDot = std::strrchr(path, '.'); pDot && !std::strchr(pDot, '\\'))
        extension = pDot + 1;
    extension.MakeLower();

    COSMImageEditorBitmap* pLoaded = nullptr;
    if (extension == "ico")
    {
        if (HBITMAP hAlpha = LoadAlphaBitmapFromFile(path, m_cxImage))
        {
            COSMImageEditorBitmap source(TRUE);
            source.Attach(hAlpha);
            pLoaded = new COSMImageEditorBitmap;
            CopyImage(pLoaded, &source, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                      kImageEditorTransparent, nullptr);
        }
        else if (HICON hIcon = static_cast<HICON>(::LoadImageA(nullptr, path, IMAGE_ICON, m_cxImage, m_cyImage,
                                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION)))
        {
            pLoaded = new COSMImageEditorBitmap;
            CopyImage(pLoaded, nullptr, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                      kImageEditorTransparent, nullptr);
            CDC dc;
            dc.CreateCompatibleDC(nullptr);
            CBitmap* pOld = dc.SelectObject(pLoaded);
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, 0, 0, 0, 0, DST_ICON);
            dc.SelectObject(pOld);
            ::DestroyIcon(hIcon);
        }
    }
    else if (extension == "bmp" || extension == "png")
    {
        BOOL bAlpha = FALSE;
        if (HBITMAP hBitmap = LoadImageFile(path, &bAlpha))
        {
            COSMImageEditorBitmap source(bAlpha);
            source.Attach(hBitmap);
            pLoaded = new COSMImageEditorBitmap;
            CopyImage(pLoaded, &source, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                      kImageEditorTransparent, nullptr);
        }
    }
    else
    {
        // Any other picture OLE can read (metafiles, GIF, JPEG ...), rendered at the image size.
        std::vector<WCHAR> widePath(static_cast<size_t>(path.GetLength()) + 1);
        ::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath.data(), static_cast<int>(widePath.size()));
        IPicture* pPicture = nullptr;
        if (SUCCEEDED(::OleLoadPicturePath(widePath.data(), nullptr, 0, 0, IID_IPicture,
                                           reinterpret_cast<void**>(&pPicture))) &&
            pPicture)
        {
            OLE_XSIZE_HIMETRIC hmWidth = 0;
            OLE_YSIZE_HIMETRIC hmHeight = 0;
            pPicture->get_Width(&hmWidth);
            pPicture->get_Height(&hmHeight);
            pLoaded = new COSMImageEditorBitmap;
            CopyImage(pLoaded, nullptr, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                      kImageEditorTransparent, nullptr);
            CDC dc;
            dc.CreateCompatibleDC(nullptr);
            CBitmap* pOld = dc.SelectObject(pLoaded);
            // HIMETRIC extents run upward: the source starts at the bottom and its height is negative.
            pPicture->Render(dc, 0, 0, m_cxImage, m_cyImage, 0, hmHeight - 1, hmWidth, -hmHeight, nullptr);
            dc.SelectObject(pOld);
            pPicture->Release();
        }
    }
    if (!pLoaded)
        return;  // nothing readable: the picture stays as it was
    delete m_pBefore;
    m_pBefore = m_pCurrent;
    m_pCurrent = pLoaded;
    Commit();
}

void COSMImageEditorPicture::Invalidate()
{
    if (GetSafeHwnd())
        InvalidateRect(nullptr, FALSE);
    if (m_pDialog)
        m_pDialog->InvalidatePreview();
}

COLORREF COSMImageEditorPicture::GetSelectedColor() const
{
    return m_pDialog ? m_pDialog->GetSelectedColor() : 0;
}

int COSMImageEditorPicture::GetCurrentTool() const
{
    return m_pDialog ? m_pDialog->GetCurrentTool() : kToolPencil;
}

void COSMImageEditorPicture::OnLButtonDown(UINT nFlags, CPoint point)
{
    const CPoint pixel = PointToPixel(point);
    switch (GetCurrentTool())
    {
    case kToolPencil:
    case kToolLine:
    case kToolRectangle:
    case kToolEllipse:
    {
        if (m_bDrawing)
            break;
        const COLORREF color = GetSelectedColor();
        // Drawing over a pixel of the selected colour erases: the whole stroke then draws transparent.
        m_clrDraw = GetPixelAt(pixel.x, pixel.y) == color ? kImageEditorTransparent : color;
        BeginEdit();
        m_bDrawing = TRUE;
        m_ptDragStart = point;
        SetCapture();
        OnMouseMove(nFlags, point);
        break;
    }
    case kToolFill:
    {
        const COLORREF surface = GetPixelAt(pixel.x, pixel.y);
        BeginEdit();
        CBrush brush;
        brush.CreateSolidBrush(GetSelectedColor());
        CBitmap* pOldBitmap = m_dcMem.SelectObject(m_pCurrent);
        CBrush* pOldBrush = m_dcMem.SelectObject(&brush);
        ::ExtFloodFill(m_dcMem, pixel.x, pixel.y, surface, FLOODFILLSURFACE);
        m_dcMem.SelectObject(pOldBrush);
        m_dcMem.SelectObject(pOldBitmap);
        if (m_pBefore && m_pBefore->m_bAlpha)
            RepairAlpha(m_pCurrent, m_pBefore);
        Commit();
        break;
    }
    case kToolPicker:
        if (m_pDialog)
            m_pDialog->OnColorPicked(GetPixelAt(pixel.x, pixel.y));
        break;
    default:
        break;
    }
    Default();
}

void COSMImageEditorPicture::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    if (m_bDrawing)
    {
        const int tool = GetCurrentTool();
        // The pencil adds to the image as it is; a shape is drawn afresh on the image as it was at the button-down,
        // so it follows the mouse until the release.
        COSMImageEditorBitmap* pReference = tool == kToolPencil ? m_pCurrent : m_pBefore;
        COSMImageEditorBitmap* pNew = CopyOf(pReference);
        CBitmap* pOldBitmap = m_dcMem.SelectObject(pNew);
        if (tool == kToolPencil)
        {
            // Every pixel from the last point the stroke reached: a fast drag reports points cells apart, and the
            // stroke must not fall into dots.
            const CPoint from = PointToPixel(m_ptDragStart);
            const CPoint to = PointToPixel(point);
            ForEachLinePixel(from, to, [&](int x, int y) { m_dcMem.SetPixel(x, y, m_clrDraw); });
            m_ptDragStart = point;
        }
        else
        {
            const COLORREF color = GetSelectedColor();
            const CPoint from = PointToPixel(m_ptDragStart);
            const CPoint to = PointToPixel(point);
            CRect rect(from, to);
            rect.NormalizeRect();
            CPen pen;
            pen.CreatePen(PS_SOLID, 1, color);
            CBrush brush;
            brush.CreateSolidBrush(kImageEditorTransparent);
            CPen* pOldPen = m_dcMem.SelectObject(&pen);
            CBrush* pOldBrush = m_dcMem.SelectObject(&brush);
            if (tool == kToolRectangle)
            {
                m_dcMem.Draw3dRect(&rect, color, color);
            }
            else if (tool == kToolEllipse)
            {
                m_dcMem.Ellipse(&rect);
            }
            else
            {
                m_dcMem.MoveTo(from);
                m_dcMem.LineTo(to);
            }
            m_dcMem.SelectObject(pOldBrush);
            m_dcMem.SelectObject(pOldPen);
        }
        m_dcMem.SelectObject(pOldBitmap);
        if (m_pCurrent && m_pCurrent->m_bAlpha)
            RepairAlpha(pNew, pReference);
        ReplaceCurrent(pNew);
    }
    Default();
}

void COSMImageEditorPicture::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    m_bDrawing = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Default();
}

void COSMImageEditorPicture::OnCaptureChanged(CWnd* /*pWnd*/)
{
    m_bDrawing = FALSE;
    if (m_bEditPending)
        Commit();
    Default();
}

BOOL COSMImageEditorPicture::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    HCURSOR hCursor = m_hCursorPencil;
    switch (GetCurrentTool())
    {
    case kToolFill:
        hCursor = m_hCursorFill;
        break;
    case kToolPicker:
        hCursor = m_hCursorPicker;
        break;
    case kToolLine:
    case kToolRectangle:
    case kToolEllipse:
        hCursor = m_hCursorShape;
        break;
    default:
        break;
    }
    ::SetCursor(hCursor ? hCursor : ::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

void COSMImageEditorPicture::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect client;
    GetClientRect(&client);
    COSMBufferDC dc(dcPaint.GetSafeHdc(), client);
    const int width = client.Width();
    const int height = client.Height();
    dc.FillSolidRect(&client, RGB(255, 255, 255));

    BITMAPINFO* pInfo = nullptr;
    DWORD* pBits = nullptr;
    CSize size;
    if (m_pCurrent && width > 0 && height > 0 && CopyBitmapBitsWithAlpha(&dc, *m_pCurrent, &pInfo, &pBits, &size) &&
        size.cx > 0 && size.cy > 0)
    {
        // Whatever order the rows come in, row 0 of the image shows at the top.
        const bool topDown = pInfo->bmiHeader.biHeight < 0;
        CBitmap canvas;
        if (CreateDIB32(&canvas, width, height))
        {
            DIBSECTION dib{};
            ::GetObjectA(canvas, sizeof(dib), &dib);
            auto* pOut = static_cast<DWORD*>(dib.dsBm.bmBits);  // bottom-up
            for (int y = 0; y < height; ++y)
            {
                const int py = static_cast<int>(static_cast<LONGLONG>(size.cy) * y / height);
                const DWORD* pRow = pBits + static_cast<size_t>(topDown ? py : size.cy - 1 - py) * size.cx;
                DWORD* pOutRow = pOut + static_cast<size_t>(height - 1 - y) * width;
                for (int x = 0; x < width; ++x)
                {
                    const int px = static_cast<int>(static_cast<LONGLONG>(size.cx) * x / width);
                    const DWORD pixel = pRow[px];
                    const bool dark = ((x + 3) / 4 + (y + 3) / 4) % 2 == 1;
                    DWORD shown;
                    if (m_pCurrent->m_bAlpha)
                    {
                        const int a = static_cast<int>(pixel >> 24);
                        const int back = dark ? 235 : 255;
                        auto blend = [&](int shift) {
                            const int c = static_cast<int>((pixel >> shift) & 0xFF);
                            return static_cast<DWORD>(back - (back - c) * a / 255) << shift;
                        };
                        shown = blend(16) | blend(8) | blend(0);
                    }
                    else
                    {
                        shown = (pixel & 0x00FFFFFF) == kTransparentPixel ? (dark ? 0x00EBEBEB : 0x00FFFFFF)
                                                                          : (pixel & 0x00FFFFFF);
                    }
                    pOutRow[x] = shown;
                }
            }
            CDC source;
            source.CreateCompatibleDC(&dc);
            CBitmap* pOld = source.SelectObject(&canvas);
            dc.BitBlt(0, 0, width, height, &source, 0, 0, SRCCOPY);
            source.SelectObject(pOld);
        }
    }
    std::free(pInfo);
    std::free(pBits);
    dc.Draw3dRect(&client, RGB(0, 0, 0), RGB(0, 0, 0));
}
