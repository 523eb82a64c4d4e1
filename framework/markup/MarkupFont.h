// COSMMarkupFont: a font the markup draws text with, reference counted like every markup object. It owns its HFONT
// (deleted with it) and keeps the LOGFONT it was made from; the markup context's cache links its fonts through the
// next pointer and is named as the owner (null for a font made on its own).
//
//   COSMMarkupFont* font = new COSMMarkupFont(logFont);   // one reference for the caller
//   dc.SetFont(font);                                     // the drawing context holds another
//   font->Release();
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupContext;

class COSMMarkupFont : public COSMMarkupObject
{
public:
    explicit COSMMarkupFont(const LOGFONTW& logFont, COSMMarkupContext* context = nullptr);

protected:
    ~COSMMarkupFont() override;

public:
    HFONT GetSafeHandle() const { return m_hFont; }
    const LOGFONTW& GetLogFont() const { return m_logFont; }

    COSMMarkupFont* GetNextFont() const { return m_pNextFont; }
    void SetNextFont(COSMMarkupFont* next) { m_pNextFont = next; }
    COSMMarkupContext* GetContext() const { return m_pContext; }
    // The cache goes before the font: the font no longer unlinks itself.
    void DetachContext() { m_pContext = nullptr; }

private:
    HFONT m_hFont;
    LOGFONTW m_logFont;
    COSMMarkupFont* m_pNextFont = nullptr;
    COSMMarkupContext* m_pContext;
};
