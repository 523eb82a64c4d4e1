// The two pure steps of showing keyboard tips: which letters each tip shows, and where its window goes.
//
//   std::vector<COSMKeyboardTipSource> sources = {{"Save", ""}, {"Send", ""}, {"&File", ""}};
//   std::vector<CString> texts = MakeKeyboardTipTexts(sources);      // "SA", "SE", "F"
//   CRect rect = PlaceKeyboardTip(textSize, anchor, alignment, FALSE);
//
// Kept apart from the windows so that the rules can be checked without a display.
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"

#include <vector>

// What one tip's text is made from: its owner's caption and the tip a control or action gives explicitly.
struct COSMKeyboardTipSource
{
    CString caption;
    CString explicitTip;
};

// Alignment bits of a tip's anchor.
constexpr DWORD kKeyboardTipCenterHorz = 0x1;
constexpr DWORD kKeyboardTipRight = 0x2;
constexpr DWORD kKeyboardTipCenterVert = 0x4;
constexpr DWORD kKeyboardTipBottom = 0x8;

// One text per source, in order: the explicit tip when given, else the upper-cased caption's access-key character
// (FindMnemonicPos's rule; the first character without a marker). Tips that share a first character get a second
// one so that each can be typed: a character after a space in the caption, else the next caption character, else
// the first free one of '1'..'9', '0', 'A'..'Z'. An empty text: the source has neither caption nor tip.
std::vector<CString> MakeKeyboardTipTexts(const std::vector<COSMKeyboardTipSource>& sources);

// The tip window's screen rectangle for a text of textSize at the screen anchor: at least 16 x 15, the text plus a
// margin, moved off the anchor as the alignment bits say; right to left, the anchor is the tip's right side unless
// it is centred.
CRect PlaceKeyboardTip(CSize textSize, CPoint anchor, DWORD alignment, BOOL rightToLeft);
