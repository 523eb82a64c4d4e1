// No markup text makes the builder fault, leak or exhaust the stack: every prefix of valid documents and a
// fixed-seed series of mutations give a root or a message and leave no object behind; the deepest tree the builder
// allows is built, laid out, hit, drawn and released on a thread with a 1 MB stack.
#include "tests/support/DcTestSurface.h"
#include "GuardedText.h"
#include "MarkupBuilderTestTypes.h"
#include "MarkupTestDocuments.h"
#include "ParseTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBuilder.h"

#include <gtest/gtest.h>

#include <string>

using markup_test::kMarkupTestDocuments;
using markup_test::MarkupTestDocument;
using markup_test::ParseTest;

namespace {

// The builder's code page for a document: its declaration switches it to UTF-8 itself.
UINT StartCodePage(const MarkupTestDocument& document)
{
    return document.codePage == CP_UTF8 ? CP_ACP : document.codePage;
}

class BuilderRobustnessTest : public ParseTest
{
protected:
    // Parses text: a root and no message, or a message and no root, and nothing left alive once it is released.
    void ParseOnce(const std::string& text, UINT codePage, const std::string& what)
    {
        const LONG live = COSMMarkupObject::GetLiveObjectCount();
        std::string error;
        COSMMarkupUIElement* root = Parse(text, &error, codePage);
        if (root)
        {
            EXPECT_EQ("", error) << what;
            root->Release();
        }
        else
        {
            EXPECT_NE("", error) << what;
        }
        EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount()) << what;
    }
};

TEST_F(BuilderRobustnessTest, TheDocumentsParseWhole)
{
    for (const MarkupTestDocument& document : kMarkupTestDocuments)
    {
        if (!markup_test::IsReadable(document))
            continue;
        std::string error;
        COSMMarkupUIElement* root = Parse(document.text, &error, StartCodePage(document));
        EXPECT_NE(nullptr, root) << document.name << ": " << error;
        if (root)
            root->Release();
    }
}

TEST_F(BuilderRobustnessTest, EveryPrefixGivesARootOrAMessage)
{
    for (const MarkupTestDocument& document : kMarkupTestDocuments)
    {
        if (!markup_test::IsReadable(document))
            continue;
        for (size_t length = 0; length <= document.text.size(); ++length)
        {
            ParseOnce(document.text.substr(0, length), StartCodePage(document),
                      std::string(document.name) + " cut at " + std::to_string(length));
        }
    }
}

TEST_F(BuilderRobustnessTest, MutatedDocumentsGiveARootOrAMessage)
{
    markup_test::ForEachMutatedDocument(
        20261211u, 3000, [this](const MarkupTestDocument& document, const std::string& text, const std::string& what) {
            ParseOnce(text, StartCodePage(document), what);
            return true;
        });
}

// What the deep tree's thread found.
struct DeepTreeRun
{
    COSMMarkupContext* context = nullptr;
    bool parsed = false;
    int depth = 0;
    CSize desired{-1, -1};
    bool innermostHit = false;
    COLORREF centre = CLR_INVALID;
    COLORREF outside = CLR_INVALID;
};

DWORD WINAPI BuildDeepTree(LPVOID parameter)
{
    DeepTreeRun* run = static_cast<DeepTreeRun*>(parameter);
    std::string markup;
    for (int i = 0; i < COSMMarkupBuilder::kMaxElementDepth - 1; ++i)
        markup += "<Border Background=\"Red\" Padding=\"0\">";
    markup += "<Border Background=\"Lime\" Width=\"20\" Height=\"10\"/>";
    for (int i = 0; i < COSMMarkupBuilder::kMaxElementDepth - 1; ++i)
        markup += "</Border>";

    COSMMarkupUIElement* root = ParseMarkup(run->context, markup.c_str());
    run->parsed = root != nullptr;
    if (!root)
        return 0;
    COSMMarkupBorder* innermost = static_cast<COSMMarkupBorder*>(root);
    for (run->depth = 1; innermost->GetChild(); ++run->depth)
        innermost = static_cast<COSMMarkupBorder*>(innermost->GetChild());
    run->desired = MeasureMarkupElement(root, 100, 100);

    foundation_test::DcTestSurface surface(40, 30, RGB(255, 255, 255));
    const RECT area = {0, 0, 40, 30};
    RenderMarkupElement(root, surface.GetDC(), &area);
    run->innermostHit = root->InputHitTest(20, 15) == innermost;
    run->centre = surface.Pixel(20, 15);
    run->outside = surface.Pixel(2, 2);
    ReleaseMarkupElement(&root);
    return 0;
}

TEST_F(BuilderRobustnessTest, TheDeepestTreeWorksOnAOneMegabyteStack)
{
    DeepTreeRun run;
    run.context = context;
    HANDLE thread = ::CreateThread(nullptr, 1 << 20, &BuildDeepTree, &run, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 60000));
    DWORD exitCode = 1;
    ::GetExitCodeThread(thread, &exitCode);
    ::CloseHandle(thread);
    EXPECT_EQ(0u, exitCode);
    ASSERT_TRUE(run.parsed);
    EXPECT_EQ(COSMMarkupBuilder::kMaxElementDepth, run.depth);
    EXPECT_EQ(CSize(20, 10), run.desired);
    EXPECT_TRUE(run.innermostHit);
    // The innermost border, centred, over its red ancestors.
    EXPECT_EQ(RGB(0, 255, 0), run.centre);
    EXPECT_EQ(RGB(255, 0, 0), run.outside);
}

TEST_F(BuilderRobustnessTest, AFailureInsideAContentOperationReleasesEverything)
{
    // std::bad_alloc from an element's content operation, deep in a tree with resources and property elements.
    const std::string markup = "<Page><Page.Resources><SolidColorBrush x:Key=\"b\"/></Page.Resources>"
                               "<OsmRecorder>a<OsmThrowing>text</OsmThrowing></OsmRecorder></Page>";
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    EXPECT_EQ("Unexpected error. Line 1, position " + std::to_string(markup.find("</OsmThrowing>") + 15),
              ParseError(markup));
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(nullptr, context->Parse(markup.c_str()));
}

}  // namespace
