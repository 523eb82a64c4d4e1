// GDI wrappers on a memory DC and a real window: ownership of handles, SelectObject's old objects, temporary
// wrappers, painting in WM_PAINT, and menus.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using classlib_test::CHostWnd;

TEST(GdiTest, MemoryDcDrawsWithSelectedObjectsAndGivesBackTheOldOnes)
{
    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 32, 32));
    BITMAP info{};
    bitmap.GetBitmap(&info);
    EXPECT_EQ(info.bmWidth, 32);

    const HGDIOBJ originalBitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(pOldBitmap, nullptr);
    EXPECT_EQ(pOldBitmap->m_hObject, originalBitmap);
    EXPECT_TRUE(pOldBitmap->IsKindOf(RUNTIME_CLASS(CBitmap)));

    dc.FillSolidRect(CRect(0, 0, 32, 32), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(10, 20, 30));

    CBrush brush(RGB(200, 0, 0));
    dc.FillRect(CRect(0, 0, 8, 8), &brush);
    EXPECT_EQ(dc.GetPixel(2, 2), RGB(200, 0, 0));
    EXPECT_EQ(dc.GetPixel(9, 9), RGB(10, 20, 30));

    CPen pen(PS_SOLID, 1, RGB(0, 0, 250));
    CPen* pOldPen = dc.SelectObject(&pen);
    CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(dc.GetPixel(10, 15), RGB(0, 0, 250));
    EXPECT_EQ(dc.GetPixel(15, 15), RGB(10, 20, 30));
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
    dc.Draw3dRect(CRect(0, 24, 8, 32), RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 24), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(7, 31), RGB(0, 0, 0));

    EXPECT_EQ(dc.SelectObject(pOldBitmap), &bitmap);  // the permanent wrapper comes back
}

TEST(GdiTest, WrappersOwnTheirHandlesUntilDetached)
{
    HGDIOBJ deleted = nullptr;
    HGDIOBJ kept = nullptr;
    {
        CBrush owning(RGB(1, 2, 3));
        CPen detaching(PS_DASH, 1, RGB(4, 5, 6));
        deleted = owning.m_hObject;
        kept = detaching.Detach();
        EXPECT_EQ(CGdiObject::FromHandle(deleted), &owning);
        EXPECT_EQ(detaching.m_hObject, nullptr);
    }
    EXPECT_EQ(::GetObjectType(deleted), 0u);
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));

    // A temporary wrapper for a handle nobody wrapped: the right class, and deleting it leaves the handle alone.
    CPen* temporary = CPen::FromHandle(static_cast<HPEN>(kept));
    EXPECT_TRUE(temporary->IsKindOf(RUNTIME_CLASS(CPen)));
    LOGPEN logPen{};
    EXPECT_EQ(temporary->GetLogPen(&logPen), static_cast<int>(sizeof logPen));
    EXPECT_EQ(logPen.lopnColor, RGB(4, 5, 6));
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));
    ::DeleteObject(kept);
}

TEST(GdiTest, FontsAreMadeFromPointSizes)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Tahoma"));
    LOGFONTA logFont{};
    font.GetLogFont(&logFont);
    CClientDC screen(nullptr);
    EXPECT_EQ(logFont.lfHeight, -::MulDiv(10, screen.GetDeviceCaps(LOGPIXELSY), 72));
    EXPECT_STREQ(logFont.lfFaceName, "Tahoma");

    CFont* pOld = screen.SelectObject(&font);
    TEXTMETRICA metrics{};
    screen.GetTextMetrics(&metrics);
    EXPECT_GT(metrics.tmHeight, 0);
    EXPECT_GT(screen.GetTextExtent("Osmira").cx, screen.GetTextExtent("O").cx);
    screen.SelectObject(pOld);
}

namespace {

class CPaintProbeWnd : public CHostWnd
{
public:
    int paints = 0;
    CRect paintRect;
    bool dcIsPermanent = false;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        paintRect = dc.m_ps.rcPaint;
        dcIsPermanent = CDC::FromHandle(dc.m_hDC) == &dc;
        CRect client;
        GetClientRect(client);
        dc.FillSolidRect(client, RGB(0, 90, 0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbeWnd, CHostWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

}  // namespace

TEST(GdiTest, PaintDcPaintsTheInvalidPart)
{
    CPaintProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateHost("paint"));
    wnd.paints = 0;
    wnd.InvalidateRect(CRect(5, 6, 50, 60), FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, 1);
    EXPECT_TRUE(wnd.paintRect.PtInRect(CPoint(5, 6)));
    EXPECT_TRUE(wnd.dcIsPermanent);
    CClientDC dc(&wnd);
    EXPECT_EQ(dc.GetPixel(10, 10), RGB(0, 90, 0));
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, 1);  // nothing left to paint
}

TEST(GdiTest, MenusBuildReadAndNest)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    EXPECT_TRUE(popup.AppendMenu(MF_STRING, 101, "&Open"));
    EXPECT_TRUE(popup.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(popup.AppendMenu(MF_STRING | MF_GRAYED, 102, "E&xit"));
    EXPECT_EQ(popup.GetMenuItemCount(), 3u);
    EXPECT_EQ(popup.GetMenuItemID(2), 102u);
    CString text;
    EXPECT_EQ(popup.GetMenuString(101, text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "&Open");
    EXPECT_TRUE(popup.GetMenuState(102, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(popup.CheckMenuItem(101, MF_CHECKED | MF_BYCOMMAND), static_cast<UINT>(MF_UNCHECKED));

    HMENU hPopup = popup.m_hMenu;
    HMENU hBar = nullptr;
    {
        CMenu bar;
        ASSERT_TRUE(bar.CreateMenu());
        ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), "&File"));
        hBar = bar.m_hMenu;
        CMenu* sub = bar.GetSubMenu(0);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->m_hMenu, hPopup);
        EXPECT_EQ(bar.GetSubMenu(5), nullptr);
    }
    EXPECT_FALSE(::IsMenu(hBar));    // destroyed with its object
    EXPECT_FALSE(::IsMenu(hPopup));  // and its submenu with it

    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("system menu"));
    CMenu* system = host.GetSystemMenu(FALSE);
    ASSERT_NE(system, nullptr);
    UINT before = system->GetMenuItemCount();
    EXPECT_TRUE(system->AppendMenu(MF_STRING, 0x0010, "About..."));
    EXPECT_EQ(system->GetMenuItemCount(), before + 1);
}

TEST(GdiTest, ImageListHoldsIcons)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2));
    EXPECT_EQ(images.Add(::LoadIcon(nullptr, IDI_APPLICATION)), 0);
    EXPECT_EQ(images.Add(::LoadIcon(nullptr, IDI_WARNING)), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(images.GetIconSize(&cx, &cy));
    EXPECT_EQ(cx, 16);
    HIMAGELIST handle = images.Detach();
    EXPECT_EQ(images.m_hImageList, nullptr);
    EXPECT_TRUE(ImageList_Destroy(handle));
}
