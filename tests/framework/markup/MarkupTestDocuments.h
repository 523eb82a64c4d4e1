// Valid markup documents the robustness tests cut and mutate: UTF-8 with two-, three- and four-byte sequences,
// entities, comments, CDATA and instructions; resources and extensions; double-byte text in code page 932. The
// private tags (OsmRecorder, OsmBox) are the builder tests' own types; the reader does not care what tags mean.
#pragma once

#include "FuzzMutator.h"
#include "framework/markup/MarkupXmlReader.h"

#include <string>
#include <vector>

namespace markup_test {

struct MarkupTestDocument
{
    const char* name;
    std::string text;
    // What the text is written in: the builder reads CP_UTF8 only from the declaration; the reader's own tests set
    // it directly.
    UINT codePage;
    // Only where the system has the code page.
    bool needsSystemCodePages;
};

inline const MarkupTestDocument kMarkupTestDocuments[] = {
    {"utf-8",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<Page Tag=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\">\r\n"
     "  <!-- \xC3\xA9 comment -- -->\r\n"
     "  <OsmRecorder Width=\"12pt\" OsmRecorder.Number=\"3\">a &lt;b&gt; &#233;&#x20AC;&#128512; \xE2\x82\xAC"
     "<![CDATA[ <raw> ]]]]><OsmBox/> tail &amp; &nbsp; &#xD800; AT&T</OsmRecorder>\r\n"
     "  <?pi some data?>\r\n"
     "</Page>\r\n",
     CP_UTF8, false},
    {"resources",
     "<Page xmlns=\"urn:osm\" xmlns:x=\"urn:osm:x\">\n"
     "  <Page.Resources>\n"
     "    <SolidColorBrush x:Key=\"b\" Color=\"#FF102030\"/>\n"
     "    <Color x:Key='c'>Navy</Color>\n"
     "    <SolidColorBrush x:Key=\"{x:Static SystemColors.WindowBrushKey}\" Color=\"{StaticResource c}\"/>\n"
     "  </Page.Resources>\n"
     "  <Border Background=\"{StaticResource b}\" BorderBrush=\"{x:Static SystemColors.WindowTextBrush}\"\n"
     "          Margin=\"1, 2,3,4\" HorizontalAlignment=\"center\">\n"
     "    <Border.Tag>{}{literal}</Border.Tag>\n"
     "    <Border Background=\"{DynamicResource {x:Static SystemColors.WindowBrushKey}}\" Tag=\"{x:Type Border}\"/>\n"
     "  </Border>\n"
     "</Page>",
     CP_ACP, false},
    {"code page 932",
     "<Page Tag=\"\x82\xA0\x83\x5C\">\r\n  <OsmRecorder>\x82\xA0 \x83\x5C&#x3042;</OsmRecorder>\r\n</Page>", 932, true},
};

// The document can be read here: the system has its code page.
inline bool IsReadable(const MarkupTestDocument& document)
{
#ifdef _WIN32
    return !document.needsSystemCodePages || ::IsValidCodePage(document.codePage);
#else
    return !document.needsSystemCodePages;
#endif
}

// Pieces of markup the harness's mutator writes into documents: brackets, entities, markup extensions, sizes at
// the limits, and bytes that start or break multi-byte sequences.
inline const std::vector<std::string> kMarkupTokens = {"<",
                                                       ">",
                                                       "/>",
                                                       "</",
                                                       "&",
                                                       ";",
                                                       "\"",
                                                       "'",
                                                       "=",
                                                       "?",
                                                       "!",
                                                       "-",
                                                       "]",
                                                       "{",
                                                       "}",
                                                       ".",
                                                       "#",
                                                       "x",
                                                       "\r\n",
                                                       "\t",
                                                       "\x80",
                                                       "\xC3",
                                                       "\xE2",
                                                       "\xF0",
                                                       "\x82",
                                                       "\x83",
                                                       "\xBF",
                                                       "&amp;",
                                                       "&#x",
                                                       "&#",
                                                       "<![CDATA[",
                                                       "]]>",
                                                       "<!--",
                                                       "-->",
                                                       "<?",
                                                       "?>",
                                                       "{StaticResource ",
                                                       "{x:Static ",
                                                       "{DynamicResource ",
                                                       "Auto",
                                                       "*",
                                                       "2147483647",
                                                       "-2147483648",
                                                       "1e308",
                                                       "NaN",
                                                       "100000",
                                                       "Width=\"",
                                                       " Margin=\"",
                                                       " Padding=\"",
                                                       " MinHeight=\"",
                                                       " StrokeThickness=\"",
                                                       " FontSize=\"",
                                                       "<Border>",
                                                       "<Button>",
                                                       "<TextBlock TextWrapping='Wrap'>",
                                                       "<Ellipse Stroke='Blue'/>"};

// Calls check(document, text, what) for rounds mutations of the readable documents by the harness's mutator,
// chosen from seed (the same series on every run) until check answers false.
template <class Check> void ForEachMutatedDocument(unsigned seed, int rounds, Check check)
{
    std::vector<const MarkupTestDocument*> documents;
    std::vector<fuzz::Bytes> corpus;
    for (const MarkupTestDocument& document : kMarkupTestDocuments)
    {
        if (!IsReadable(document))
            continue;
        documents.push_back(&document);
        corpus.push_back(fuzz::ToBytes(document.text));
    }
    fuzz::Mutator mutator(seed);
    mutator.SetDictionary(kMarkupTokens);
    for (int round = 0; round < rounds; ++round)
    {
        size_t source = 0;
        const std::string text = fuzz::ToText(mutator.Mutate(corpus, &source));
        const MarkupTestDocument& document = *documents[source];
        if (!check(document, text,
                   std::string(document.name) + " mutation " + std::to_string(round) + " (" + mutator.DescribeEdits() +
                       ")"))
            return;
    }
}

}  // namespace markup_test
