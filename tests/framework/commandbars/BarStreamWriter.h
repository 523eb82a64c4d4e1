// Streams written by hand in the archive exchange's forms, for comparing saved bars byte for byte and for crafting
// stores the save would never write (old schemas, wrong links, unknown classes).
//
//   StreamWriter w;
//   w.Long(1).NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "Main").Long(0).EndControls();
//   const Bytes saved = SaveBars(commandBars.get());
//   EXPECT_EQ(w.bytes, saved) << FirstDifference(w.bytes, saved);
#pragma once

#include "PropExchangeTestSupport.h"

#include "framework/commandbars/CommandBars.h"

#include <gtest/gtest.h>

#include <string>

namespace commandbars_test {

using prop_exchange_test::Bytes;

constexpr long kSchema = 0x22;
// Toolbars and the menu bar store their class with this schema: their keys end with the floating position.
constexpr long kToolBarSchema = 0x23;
constexpr WORD kNewClass = 0xFFFF;

// Writes a stream in the archive exchange's forms, for comparing and for crafting stores.
class StreamWriter
{
public:
    Bytes bytes;

    StreamWriter& Word(WORD value)
    {
        bytes.push_back(static_cast<BYTE>(value));
        bytes.push_back(static_cast<BYTE>(value >> 8));
        return *this;
    }
    StreamWriter& Long(long value)
    {
        prop_exchange_test::AppendDWord(bytes, static_cast<DWORD>(value));
        return *this;
    }
    StreamWriter& Size(long cx, long cy) { return Long(cx).Long(cy); }
    StreamWriter& Rect(long l, long t, long r, long b) { return Long(l).Long(t).Long(r).Long(b); }
    StreamWriter& String(const std::string& text)
    {
        bytes.push_back(static_cast<BYTE>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    // A class seen for the first time in the archive.
    StreamWriter& NewClass(const std::string& name, WORD schema = kSchema)
    {
        Word(kNewClass).Word(schema).Word(static_cast<WORD>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
        return *this;
    }
    StreamWriter& ClassRef(WORD index) { return Word(static_cast<WORD>(0x8000 | index)); }

    // The keys every bar stores, at the schema given.
    StreamWriter& BarKeys(long schema, long type, long barId, DWORD style, const std::string& title, long position = 0,
                          long mruWidth = 0, DWORD flags = 0)
    {
        Long(type).Long(position).Long(barId).Long(static_cast<long>(flags)).Long(static_cast<long>(style));
        String(title).Long(TRUE);
        Long(mruWidth);
        if (schema >= 3)
            Size(0, 0);
        if (schema >= 18)
            Size(0, 0).Long(2).Long(FALSE);
        if (schema >= 19)
            Long(0);
        return *this;
    }
    // The keys every control stores at the current schema.
    StreamWriter& ControlKeys(long type, long id, const std::string& caption)
    {
        Long(type).Long(id).Long(0).Long(FALSE).Long(0).Long(0).Long(0).String(caption);
        String("").String("").String("").String("").Long(0).String("").String("");  // texts, custom icon, category
        Word(0).Word(0);                                                            // empty template maps
        Long(FALSE).Long(TRUE).Long(-1).Long(0).Long(0).Long(0).Long(0).Long(0);    // default item .. interval
        return String("").String("").Size(0, 0);                                    // auto shortcut, tip, icon
    }
    // The popup bar's own keys, after its controls.
    StreamWriter& PopupKeys(BOOL contextMenu = FALSE)
    {
        return Long(FALSE).String("").Long(0).Long(0).Rect(2, 4, 2, 4).Long(TRUE).Long(FALSE).Long(contextMenu);
    }
    StreamWriter& EndControls() { return Long(FALSE).Long(FALSE); }
    // The toolbar's own keys at the schema given, after its controls (not torn off, context menu present); from
    // kToolBarSchema on they end with where the bar floats (screen, 0,0 for a bar that never floated).
    StreamWriter& ToolBarKeys(long schema, BOOL builtIn, BOOL closeable = TRUE, BOOL customizeDialog = TRUE,
                              CPoint floating = CPoint(0, 0))
    {
        Long(builtIn).Long(FALSE);
        if (schema >= 7)
            Long(closeable);
        if (schema >= 8)
            Long(TRUE);
        if (schema >= 17)
            Long(customizeDialog);
        if (schema >= kToolBarSchema)
            Size(floating.x, floating.y);
        return *this;
    }
    // The menu bar's own keys after the toolbar keys: its menu resource and, from schema 5, the count of
    // per-template sections that follow (each an "Id" and a controls collection).
    StreamWriter& MenuBarKeys(long schema, long resourceId, WORD templateMenus = 0)
    {
        Long(resourceId);
        if (schema >= 5)
            Word(templateMenus);
        return *this;
    }
};

// The bytes the manager's SaveBarState writes through the archive exchange (a failed save is a test failure).
inline Bytes SaveBars(COSMCommandBars* commandBars, BOOL onlyCustomized = FALSE)
{
    prop_exchange_test::StoreToMemory store;
    EXPECT_TRUE(commandBars->SaveBarState(&store.px, onlyCustomized));
    return store.Take();
}

// Where two streams part, with the bytes from there, for a readable failure.
inline std::string FirstDifference(const Bytes& expected, const Bytes& actual)
{
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    std::string text = "streams part at byte " + std::to_string(at) + ":";
    for (const Bytes* bytes : {&expected, &actual})
    {
        text += "\n ";
        for (size_t i = at; i < bytes->size() && i < at + 24; ++i)
            text += " " + std::to_string((*bytes)[i]);
    }
    return text;
}

}  // namespace commandbars_test
