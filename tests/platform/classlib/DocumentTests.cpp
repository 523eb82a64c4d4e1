// The recent-file list and its display names, container documents with their OLE items, the selected one and the
// one running in place, and the verb menu built from an object's verbs (a small fake object stands in for a server).
#include "FakeOleObject.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using osm::test::FakeOleObject;
using osm::test::FakeVerb;

TEST(RecentFileListTest, NewestFirstWithAnOpenedAgainFileMovingUp)
{
    CRecentFileList list(3);
    EXPECT_EQ(3, list.GetSize());
    EXPECT_TRUE(list[0].IsEmpty());
    list.Add("C:\\a.txt");
    list.Add("C:\\b.txt");
    list.Add("C:\\c.txt");
    list.Add("C:\\d.txt");
    EXPECT_STREQ("C:\\d.txt", list[0]);
    EXPECT_STREQ("C:\\b.txt", list[2]);
    list.Add("c:\\B.TXT");
    EXPECT_STREQ("c:\\B.TXT", list[0]);
    EXPECT_STREQ("C:\\d.txt", list[1]);
    EXPECT_STREQ("C:\\c.txt", list[2]);
    list.Remove(0);
    EXPECT_STREQ("C:\\d.txt", list[0]);
    EXPECT_TRUE(list[2].IsEmpty());
}

TEST(RecentFileListTest, DisplayNamesDropTheCurrentFolderOnlyForFilesDirectlyInIt)
{
    CRecentFileList list(5);
    list[0] = "C:\\Docs\\Report.txt";
    list[1] = "c:\\docs\\Plan.txt";
    list[2] = "C:\\Docs\\Old\\Report.txt";
    list[3] = "D:\\Other\\Notes.txt";
    struct Case
    {
        int index;
        BOOL found;
        const char* name;
    };
    const Case cases[] = {
        {0, TRUE, "Report.txt"},
        {1, TRUE, "Plan.txt"},
        {2, TRUE, "C:\\Docs\\Old\\Report.txt"},
        {3, TRUE, "D:\\Other\\Notes.txt"},
        {4, FALSE, ""},
        {5, FALSE, ""},
        {-1, FALSE, ""},
    };
    const char folder[] = "C:\\Docs\\";
    for (const Case& c : cases)
    {
        CString name = "left over";
        EXPECT_EQ(c.found, list.GetDisplayName(name, c.index, folder, 8)) << c.index;
        EXPECT_STREQ(c.name, name) << c.index;
    }
    // A folder longer than the path, or none, keeps the path whole.
    CString name;
    EXPECT_TRUE(list.GetDisplayName(name, 0, "C:\\Docs\\Report.txt\\More\\", 25));
    EXPECT_STREQ("C:\\Docs\\Report.txt", name);
    EXPECT_TRUE(list.GetDisplayName(name, 0, nullptr, 0));
    EXPECT_STREQ("C:\\Docs\\Report.txt", name);
}

TEST(RecentFileListTest, TheApplicationHasNoneUntilItMakesOne)
{
    CWinApp app("recent files");
    EXPECT_EQ(nullptr, app.m_pRecentFileList);
    app.m_pRecentFileList = new CRecentFileList(4);  // deleted with the application
    EXPECT_EQ(4, AfxGetApp()->m_pRecentFileList->GetSize());
}

// A view whose selection is a set of items.
class SelectingView : public CView
{
public:
    BOOL IsSelected(const CObject* item) const override { return selected.count(item) != 0; }
    std::set<const CObject*> selected;
};

TEST(OleDocumentTest, ItemsHoldTheirObjectAndThePrimarySelectionIsTheOnlySelectedItem)
{
    auto* object = new FakeOleObject("Sketch", {});
    {
        COleDocument document;
        EXPECT_TRUE(document.IsKindOf(RUNTIME_CLASS(CDocument)));
        auto* first = new COleClientItem(&document);
        auto* second = new COleClientItem(&document);
        EXPECT_EQ(COleClientItem::emptyState, first->GetItemState());
        first->Attach(object);
        EXPECT_EQ(2u, object->RefCount());
        EXPECT_EQ(COleClientItem::loadedState, first->GetItemState());
        EXPECT_EQ(2, document.GetItemCount());

        SelectingView view;
        view.SetDocument(&document);
        EXPECT_EQ(nullptr, document.GetPrimarySelectedItem(&view));
        view.selected = {second};
        EXPECT_EQ(second, document.GetPrimarySelectedItem(&view));
        view.selected = {first, second};
        EXPECT_EQ(nullptr, document.GetPrimarySelectedItem(&view));
        EXPECT_EQ(nullptr, document.GetPrimarySelectedItem(nullptr));

        delete second;
        EXPECT_EQ(1, document.GetItemCount());
        EXPECT_EQ(first, document.GetItemAt(0));
    }
    // The document deleted the first item, which let go of the object.
    EXPECT_EQ(1u, object->RefCount());
    object->Release();
}

TEST(OleDocumentTest, TheItemRunningInPlaceIsFoundWhateverItsKind)
{
    const struct
    {
        COleClientItem::ItemState state;
        bool inPlace;
    } cases[] = {
        {COleClientItem::emptyState, false}, {COleClientItem::loadedState, false},  {COleClientItem::activeState, true},
        {COleClientItem::openState, false},  {COleClientItem::activeUIState, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.state);
        COleDocument document;
        auto* plain = new COleClientItem(&document);
        auto* docObject = new COleDocObjectItem(&document);
        EXPECT_EQ(nullptr, document.GetInPlaceActiveItem());
        for (COleClientItem* item : {plain, static_cast<COleClientItem*>(docObject)})
        {
            item->SetItemState(c.state);
            EXPECT_EQ(c.inPlace, item->IsInPlaceActive() != FALSE);
            EXPECT_EQ(c.inPlace ? item : nullptr, document.GetInPlaceActiveItem());
            item->SetItemState(COleClientItem::loadedState);
        }
        // Only the document object's item is of that kind; both are client items of the document.
        EXPECT_TRUE(docObject->IsKindOf(RUNTIME_CLASS(COleDocObjectItem)));
        EXPECT_TRUE(docObject->IsKindOf(RUNTIME_CLASS(COleClientItem)));
        EXPECT_FALSE(plain->IsKindOf(RUNTIME_CLASS(COleDocObjectItem)));
        EXPECT_EQ(&document, docObject->GetDocument());
        EXPECT_EQ(2, document.GetItemCount());
    }
}

// The menu's entries: caption and id (and "grey"), a popup's entries after ">", a separator as "----".
std::vector<std::string> MenuEntries(HMENU menu)
{
    std::vector<std::string> entries;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    {
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        std::string entry = text;
        if (state & MF_SEPARATOR)
            entry = "----";
        else if (HMENU sub = ::GetSubMenu(menu, i))
        {
            for (const std::string& inner : MenuEntries(sub))
                entry += " > " + inner;
        }
        else
        {
            entry += " #" + std::to_string(::GetMenuItemID(menu, i));
            if (state & MF_GRAYED)
                entry += " grey";
        }
        entries.push_back(entry);
    }
    return entries;
}

TEST(OleVerbMenuTest, SeveralVerbsGiveAPopupNamedAfterTheObjectAndOneAPlainItem)
{
    struct Case
    {
        const char* name;
        std::vector<FakeVerb> verbs;
        UINT last;
        UINT convert;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"two verbs",
         {{0, "&Edit"}, {1, "&Open"}},
         57887,
         0,
         {"Before #1", "Sketch &Object > &Edit #57872 > &Open #57873", "After #2"}},
        // Negative verbs and those not meant for the container's menu are left out.
        {"one shown verb",
         {{-1, "Show"}, {0, "&Play"}, {2, "Hidden", 0}},
         57887,
         0,
         {"Before #1", "&Play Sketch &Object #57872", "After #2"}},
        {"no verb", {}, 57887, 0, {"Before #1", "Sketch &Object #57872 grey", "After #2"}},
        // No more verbs than ids.
        {"three verbs, two ids",
         {{0, "A"}, {1, "B"}, {2, "C"}},
         57873,
         0,
         {"Before #1", "Sketch &Object > A #57872 > B #57873", "After #2"}},
        {"one verb and convert",
         {{0, "&Edit"}},
         57887,
         57888,
         {"Before #1", "Sketch &Object > &Edit #57872 > ---- > &Convert... #57888", "After #2"}},
    };
    for (const Case& c : cases)
    {
        auto* object = new FakeOleObject("Sketch", c.verbs);
        COleClientItem item;
        item.Attach(object);
        object->Release();
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, 1, "Before");
        menu.AppendMenu(MF_STRING, 99, "Replaced");
        menu.AppendMenu(MF_STRING, 2, "After");
        EXPECT_TRUE(AfxOleSetEditMenu(&item, &menu, 1, 57872, c.last, c.convert)) << c.name;
        EXPECT_EQ(c.entries, MenuEntries(menu)) << c.name;
        menu.DestroyMenu();
    }
}

TEST(OleVerbMenuTest, AnEmptyMenuIsFilledAtPositionZeroAndNothingHappensWithoutAnObject)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    COleClientItem empty;
    EXPECT_FALSE(AfxOleSetEditMenu(&empty, &menu, 0, 57872, 57887));
    EXPECT_FALSE(AfxOleSetEditMenu(nullptr, &menu, 0, 57872, 57887));
    EXPECT_EQ(0, ::GetMenuItemCount(menu));

    auto* object = new FakeOleObject("Chart", {{0, "&Edit"}, {1, "&Open"}});
    COleClientItem item;
    item.Attach(object);
    object->Release();
    EXPECT_FALSE(AfxOleSetEditMenu(&item, &menu, 1, 57872, 57887));
    EXPECT_TRUE(AfxOleSetEditMenu(&item, &menu, 0, 57872, 57887));
    EXPECT_EQ((std::vector<std::string>{"Chart &Object > &Edit #57872 > &Open #57873"}), MenuEntries(menu));
    menu.DestroyMenu();
}

}  // namespace
