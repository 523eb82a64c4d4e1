// The Ribbon look's picture with a ribbon in it, kept with the CI artefacts: a frame in theme 6 with the production
// resources, its ribbon showing tabs, a context tab, quick-access buttons, a hot group and a reduced one. Drawing it
// asks the resources for nothing they lack.
#include "RibbonGroupTestSupport.h"

#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/RibbonTheme.h"
#include "tests/support/Screenshots.h"

#include <set>
#include <string>
#include <vector>

using namespace ribbon_test;

namespace {

class RibbonSampleObserver : public COSMOffice2007Images::CObserver
{
public:
    void OnImageMissing(LPCSTR lpszName) override { missing.push_back(std::string("image ") + lpszName); }
    void OnKeyMissing(LPCSTR lpszSection, LPCSTR lpszKey) override
    {
        missing.push_back(std::string("key ") + lpszSection + "/" + lpszKey);
    }
    std::vector<std::string> missing;
};

class RibbonLookSampleTest : public RibbonGroupTest
{};

}  // namespace

TEST_F(RibbonLookSampleTest, TheRibbonLookSampleShowsARibbonAndFindsEverythingItAsksFor)
{
    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    ASSERT_TRUE(images->IsValid()) << "the production theme text in the test program";
    RibbonSampleObserver observer;
    images->SetObserver(&observer);

    // The test set-up leaves only the test look registered; this program links the themes.
    COSMPaintManager::RegisterThemes();
    RefPtr<COSMPaintManager> look = AdoptRef(COSMPaintManager::CreateTheme(6));
    ASSERT_NE(nullptr, dynamic_cast<COSMRibbonTheme*>(look.Get()));
    look->RefreshMetrics();
    commandBars->SetPaintManager(look.Get());

    // A context tab beside the plain ones, two quick-access buttons, and groups enough that the last is reduced.
    COSMRibbonTab* context = ribbon->AddTab("&Format");
    context->SetContextColor(3, "Picture Tools");
    ribbon->GetQuickAccessControls()->Add(1, 9201);
    ribbon->GetQuickAccessControls()->Add(1, 9202);
    std::vector<COSMRibbonGroup*> groups;
    const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
    for (int i = 0; i < count; ++i)
    {
        CString caption;
        caption.Format("Group %c", 'A' + i);
        groups.push_back(AddGroup(caption, i == 0 ? "LMM" : "MMM"));
    }
    Relayout();
    ASSERT_TRUE(groups.back()->IsReduced());
    ASSERT_FALSE(groups.front()->IsReduced());
    COSMRibbonGroupsScroller* scroller = COSMRibbonGroupsScroller::GetGroupsScroller(ribbon);
    ASSERT_NE(nullptr, scroller);
    scroller->SetHotGroup(groups.front());
    ASSERT_TRUE(groups.front()->IsHotGroup());
    ::RedrawWindow(frame.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    const std::string path = osm::test::ArtefactsFolder() + "/look-ribbon.bmp";
    ::DeleteFileA(path.c_str());
    ASSERT_TRUE(osm::test::WriteWindowBitmap(frame.GetSafeHwnd(), path));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
    images->SetObserver(nullptr);

    std::string missing;
    for (const std::string& name : observer.missing)
        missing += name + "\n";
    EXPECT_TRUE(observer.missing.empty()) << missing;
    // The ribbon paints through the look: its client holds the pictures' many colours, not one face.
    CRect client;
    ribbon->GetClientRect(&client);
    CClientDC dc(ribbon);
    std::set<COLORREF> colors;
    for (int y = 0; y < client.Height(); y += 2)
        for (int x = 0; x < client.Width(); x += 3)
            colors.insert(dc.GetPixel(x, y));
    EXPECT_GT(colors.size(), 20u);
    EXPECT_EQ(look.Get(), ribbon->GetPaintManager());
    scroller->SetHotGroup(nullptr);
}
