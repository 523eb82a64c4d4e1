// The markup engine's entry functions: how the rest of the framework (paint manager, status bar, tooltips, labels,
// tabs) shows captions written in markup without knowing the engine's classes.
//
//   COSMMarkupContext* context = CreateMarkupContext(hwnd);                  // once per host window
//   COSMMarkupUIElement* element = ParseMarkup(context, "<Border .../>");    // null when it does not parse
//   const CSize size = MeasureMarkupElement(element, 0x7FFFFFFF, 0x7FFFFFFF);  // the natural size
//   RenderMarkupElement(element, hdc, &rect);
//   ReleaseMarkupElement(&element);
//   ReleaseMarkupContext(&context);
//
// Every function takes null arguments quietly: (0, 0) or nothing happens. Hosts call them from window procedures,
// so none lets an exception out: a failure is reported through the class library's callback reporter
// (SetCallbackExceptionReporter) and gives null, (0, 0) or nothing.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupContext.h"

class COSMMarkupUIElement;

// A new markup context with one reference for the caller, hosted by hostWindow (may be null).
COSMMarkupContext* CreateMarkupContext(HWND hostWindow);
// Releases the caller's reference and clears the pointer.
void ReleaseMarkupContext(COSMMarkupContext** context);
// The tree of the 8-bit, NUL-terminated markup text, one reference for the caller; null for a null context (the
// text is not touched then), a null text or text that does not parse.
COSMMarkupUIElement* ParseMarkup(COSMMarkupContext* context, LPCSTR text);
// Releases the caller's reference and clears the pointer.
void ReleaseMarkupElement(COSMMarkupUIElement** element);
// The context that made element (no reference added), or null.
COSMMarkupContext* GetMarkupElementContext(COSMMarkupUIElement* element);
// The element's desired size after a measure pass on a measuring context of its own; 2147483647 for a length is
// unbounded room.
CSize MeasureMarkupElement(COSMMarkupUIElement* element, int availableWidth, int availableHeight);
// Arranges element into rect (measuring first when due) and draws it into dc.
void RenderMarkupElement(COSMMarkupUIElement* element, HDC dc, const RECT* rect);

// font (when not null) replaces the context's default LOGFONT with its own, and color (-1 keeps the old one)
// becomes the default text colour. Trees parsed before keep their layout: parse again after a change.
void SetMarkupContextDefaultFont(COSMMarkupContext* context, HFONT font, COLORREF color);
