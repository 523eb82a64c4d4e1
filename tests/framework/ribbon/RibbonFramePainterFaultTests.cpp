// The frame object with a frame painter that fails: a region the window refuses (the window went while the painter
// made the region) is freed and one it takes is the window's, and a painter that throws while it draws the frame
// leaves no window DC behind. The painter is the test's own, made by the paint manager in place of the library's.
#include "RibbonTestSupport.h"

#include "GdiObjectCount.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "framework/ribbon/FramePaintManager.h"

#include <memory>
#include <stdexcept>
#include <vector>

extern "C" void OsmRegisterRibbon();

using namespace ribbon_test;

namespace {

// The library's frame painter, noting the regions it makes; told so, it destroys the frame window while it makes one,
// or throws while it draws.
class CFaultingFramePainter : public COSMFramePaintManager
{
public:
    using COSMFramePaintManager::COSMFramePaintManager;

    static COSMPartPaintManager* Create(COSMPaintManager* owner) { return new CFaultingFramePainter(owner); }

    HRGN CreateFrameRegion(const COSMRibbonFrame* frame, int width, int height) override
    {
        HRGN region = COSMFramePaintManager::CreateFrameRegion(frame, width, height);
        s_regions.push_back(region);
        if (s_destroyFrame)
            ::DestroyWindow(frame->GetFrameHwnd());
        return region;
    }
    void DrawFrame(CDC* dc, const COSMRibbonFrame* frame) override
    {
        ++s_draws;
        if (s_throwWhileDrawing)
            throw std::runtime_error("the frame painter failed");
        COSMFramePaintManager::DrawFrame(dc, frame);
    }

    static inline std::vector<HRGN> s_regions;
    static inline bool s_destroyFrame = false;
    static inline bool s_throwWhileDrawing = false;
    static inline int s_draws = 0;
};

// The same, whose next region throws once.
class CThrowingRegionPainter : public CFaultingFramePainter
{
public:
    using CFaultingFramePainter::CFaultingFramePainter;

    static COSMPartPaintManager* Create(COSMPaintManager* owner) { return new CThrowingRegionPainter(owner); }

    HRGN CreateFrameRegion(const COSMRibbonFrame* frame, int width, int height) override
    {
        if (s_throwOnce)
        {
            s_throwOnce = false;
            throw std::runtime_error("no region");
        }
        return CFaultingFramePainter::CreateFrameRegion(frame, width, height);
    }

    static inline bool s_throwOnce = false;
};

// A plain top-level window of the test's, with a frame object of the ribbon's on it.
struct FramedWindow
{
    explicit FramedWindow(COSMRibbonBar* ribbon)
    {
        hwnd = ::CreateWindowExA(0, "STATIC", "Framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
        wnd.Attach(hwnd);
        object = std::make_unique<COSMRibbonFrame>(&wnd, ribbon);
    }
    ~FramedWindow()
    {
        object.reset();
        wnd.Detach();
        if (::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
    }
    HWND hwnd;
    CWnd wnd;
    std::unique_ptr<COSMRibbonFrame> object;
};

class RibbonFramePainterFaultTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        CFaultingFramePainter::s_regions.clear();
        CFaultingFramePainter::s_destroyFrame = false;
        CFaultingFramePainter::s_throwWhileDrawing = false;
        CFaultingFramePainter::s_draws = 0;
        // A manager made from here on makes the test's frame painter.
        COSMPaintManager::RegisterPartPainter(COSMPaintManager::kFramePainter, &CFaultingFramePainter::Create);
        paintManager = AdoptRef(static_cast<COSMPaintManager*>(new COSMTestPaintManager));
        commandBars->SetPaintManager(paintManager.Get());
        Relayout();
        ASSERT_NE(nullptr, dynamic_cast<CFaultingFramePainter*>(paintManager->GetFramePaintManager()));
    }
    void TearDown() override
    {
        CFaultingFramePainter::s_destroyFrame = false;
        CFaultingFramePainter::s_throwWhileDrawing = false;
        RibbonTest::TearDown();
        paintManager.Reset();
        // The library's painters again, as the program had them from its start.
        OsmRegisterRibbon();
    }

    RefPtr<COSMPaintManager> paintManager;
};

}  // namespace

TEST_F(RibbonFramePainterFaultTest, ARegionTheWindowTakesIsTheWindowsAndOneItRefusesIsFreed)
{
    FramedWindow framed(ribbon);
    framed.object->SetFrameRegion(300, 200, TRUE);
    ASSERT_EQ(1u, CFaultingFramePainter::s_regions.size());
    CRgn shown;
    shown.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(framed.hwnd, shown)) << "the window took its region";
    CRect box;
    shown.GetRgnBox(&box);
    EXPECT_EQ(CRect(0, 0, 300, 200), box);

    // The window goes while the painter makes its next region: SetWindowRgn refuses it, and it is freed.
    CFaultingFramePainter::s_destroyFrame = true;
    framed.object->SetFrameRegion(280, 180, TRUE);
    ASSERT_EQ(2u, CFaultingFramePainter::s_regions.size());
    ASSERT_FALSE(::IsWindow(framed.hwnd));
    EXPECT_EQ(0u, ::GetObjectType(CFaultingFramePainter::s_regions[1])) << "the refused region was freed";
}

TEST_F(RibbonFramePainterFaultTest, APainterThatThrowsWhileDrawingTheFrameLeavesNoWindowDCBehind)
{
    FramedWindow framed(ribbon);
    // Drawn whole once: what the window's first drawing makes (and keeps) is made here.
    framed.object->DrawNonClient();
    ASSERT_EQ(1, CFaultingFramePainter::s_draws);
    const int objectsBefore = CountGdiObjects();

    CFaultingFramePainter::s_throwWhileDrawing = true;
    for (int i = 0; i < 4; ++i)
        EXPECT_THROW(framed.object->DrawNonClient(), std::runtime_error);
    CFaultingFramePainter::s_throwWhileDrawing = false;
    EXPECT_EQ(5, CFaultingFramePainter::s_draws);
    EXPECT_EQ(objectsBefore, CountGdiObjects()) << "every window DC went back to its window, neither kept nor deleted";

    // The window's DC is to be had and drawn into as before.
    framed.object->DrawNonClient();
    EXPECT_EQ(6, CFaultingFramePainter::s_draws);
    EXPECT_EQ(objectsBefore, CountGdiObjects());
}

// A painter that throws while the frame object gives the frame its region does not keep the frame from getting one
// later: the frame object is not left thinking it is still at work.
TEST_F(RibbonFramePainterFaultTest, AFrameRegionThatThrowsDoesNotBarTheNextOne)
{
    COSMPaintManager::RegisterPartPainter(COSMPaintManager::kFramePainter, &CThrowingRegionPainter::Create);
    paintManager = AdoptRef(static_cast<COSMPaintManager*>(new COSMTestPaintManager));
    commandBars->SetPaintManager(paintManager.Get());
    Relayout();

    FramedWindow framed(ribbon);
    CThrowingRegionPainter::s_throwOnce = true;
    EXPECT_THROW(framed.object->SetFrameRegion(300, 200, TRUE), std::runtime_error);
    framed.object->SetFrameRegion(300, 200, TRUE);
    ASSERT_EQ(1u, CFaultingFramePainter::s_regions.size());
    CRgn shown;
    shown.CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(framed.hwnd, shown)) << "the second call gave the region";
}
