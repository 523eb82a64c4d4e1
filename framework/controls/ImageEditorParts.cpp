#include "framework/controls/ImageEditorParts.h"

#include "classlib/FrameMessages.h"
#include "framework/controls/ImageEditorDialog.h"
#include "framework/foundation/BufferDC.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManagerIconHandle.h"

IMPLEMENT_DYNAMIC(COSMImageEditorPicker, CStatic)

BEGIN_MESSAGE_MAP(COSMImageEditorPicker, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void COSMImageEditorPicker::SetColor(COLORREF color)
{
    m_color = color;
    if (GetSafeHwnd())
        InvalidateRect(nullptr, FALSE);
}

void COSMImageEditorPicker::SetSelected(BOOL bSelected)
{
    m_bSelected = bSelected;
    if (GetSafeHwnd())
        InvalidateRect(nullptr, FALSE);
}

void COSMImageEditorPicker::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rect;
    GetClientRect(&rect);
    COSMBufferDC dc(dcPaint.GetSafeHdc(), rect);
    if (m_color == kImageEditorTransparent)
    {
        // Transparent: white, with the top-left quarter and the part from the centre down-right in light grey.
        dc.FillSolidRect(&rect, RGB(255, 255, 255));
        const CPoint centre(rect.Width() / 2, rect.Height() / 2);
        dc.FillSolidRect(0, 0, centre.x, centre.y, RGB(235, 235, 235));
        dc.FillSolidRect(centre.x, centre.y, rect.Width() - centre.x, rect.Height() - centre.y, RGB(235, 235, 235));
    }
    else
    {
        dc.FillSolidRect(&rect, m_color);
    }
    if (m_bSelected)
    {
        dc.Draw3dRect(&rect, RGB(0, 0, 0), RGB(0, 0, 0));
        rect.DeflateRect(1, 1);
        dc.Draw3dRect(&rect, RGB(255, 255, 255), RGB(255, 255, 255));
        rect.DeflateRect(1, 1);
        dc.Draw3dRect(&rect, RGB(0, 0, 0), RGB(0, 0, 0));
    }
    else
    {
        const COLORREF frame = GetColorManager()->GetColor(COLOR_3DDKSHADOW);
        dc.Draw3dRect(&rect, frame, frame);
    }
}

void COSMImageEditorPicker::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    NMHDR header{};
    header.hwndFrom = m_hWnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.code = NM_CLICK;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

BEGIN_MESSAGE_MAP(COSMImageEditorPreview, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void COSMImageEditorPreview::Init(UINT nID, COSMImageEditorDialog* pDialog)
{
    m_pDialog = pDialog;
    SubclassDlgItem(nID, pDialog);
    const CSize image = pDialog->GetImageSize();
    m_cxImage = image.cx;
    m_cyImage = image.cy;
    ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
}

void COSMImageEditorPreview::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect client;
    GetClientRect(&client);
    COSMBufferDC dc(dcPaint.GetSafeHdc(), client);
    COSMColorManager* pColors = GetColorManager();
    const COLORREF face = pColors->GetColor(COLOR_BTNFACE);
    dc.FillSolidRect(&client, face);

    const int top = (client.Height() - m_cyImage) / 2;
    const CRect image(10, top, 10 + m_cxImage, top + m_cyImage);
    CRect frame = image;
    frame.InflateRect(3, 3);
    dc.Draw3dRect(&frame, RGB(255, 255, 255), pColors->GetColor(COLOR_BTNSHADOW));
    frame.InflateRect(1, 1);
    dc.Draw3dRect(&frame, face, pColors->GetColor(COLOR_3DDKSHADOW));

    COSMImageEditorBitmap* pCurrent = m_pDialog ? m_pDialog->GetPicture().GetCurrentImage() : nullptr;
    if (!pCurrent)
        return;
    if (!pCurrent->m_bAlpha)
    {
        COSMImageEditorBitmap shown;
        COSMImageEditorPicture::CopyImage(&shown, pCurrent, m_cxImage, m_cyImage, CPoint(0, 0), kImageEditorTransparent,
                                          face, &dc);
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(shown)), 0, image.left,
                     image.top, m_cxImage, m_cyImage, DST_BITMAP);
    }
    else if (HICON hIcon = CreateAlphaIconFromBitmap(*pCurrent))
    {
        COSMImageManagerIconHandle icon;
        icon.SetIcon(hIcon);  // the handle destroys it
        icon.Draw(&dc, image.left, image.top, m_cxImage, m_cyImage);
    }
}

BEGIN_MESSAGE_MAP(COSMImageEditorToolBar, CToolBar)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT COSMImageEditorToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM /*lParam*/)
{
    CWnd* pParent = GetParent();
    if ((GetStyle() & WS_VISIBLE) && pParent)
        OnUpdateCmdUI(pParent, static_cast<BOOL>(wParam));
    return 0;
}
