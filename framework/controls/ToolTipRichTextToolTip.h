// COSMToolTipRichTextToolTip: the tip window of style 3, whose tip texts are rich text (RTF) or plain text, measured
// and drawn by an embedded COSMRichTextRenderer in the context's font and text colour. Without the rich-edit text
// services every tip measures (0, 0) and none shows.
#pragma once

#include "framework/controls/RichTextRenderer.h"
#include "framework/controls/ToolTipContextToolTip.h"

class COSMToolTipRichTextToolTip : public COSMToolTipContextToolTip
{
    DECLARE_DYNAMIC(COSMToolTipRichTextToolTip)

public:
    // loader: how the renderer reaches the text services (tests take them away).
    explicit COSMToolTipRichTextToolTip(COSMToolTipContext* pContext,
                                        const COSMTextServicesLoader& loader = COSMTextServicesLoader::System());

    void CalcTipSize(CSize& result, COSMToolTipToolRecord& tool) override;
    void DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient) override;

    // The character format every tip text starts from: the context's tip text colour, no effects, and the normal
    // font's face and height (twips at the screen's LOGPIXELSY) when its LOGFONT can be read.
    CHARFORMATW GetTipCharFormat() const;
    COSMRichTextRenderer& GetRenderer() { return m_renderer; }

private:
    COSMRichTextRenderer m_renderer;
};
