// COSMToolTipHtmlToolTip: the tip window of style 6, whose tip texts are HTML. From its first measurement on it keeps a
// COSMHtmlTipHost, a child window holding the web-browser control with a document in the context's font and
// background colour; each tip's text becomes the document's body and the tip takes the narrowest width that keeps the
// content's natural height. The control paints the HTML itself.
//
// Without COM on the thread, without the control, or without its HTML engine (the document never loads within the
// host's bound) every tip measures (0, 0) and none shows: no plain-text imitation.
#pragma once

#include "classlib/RefPtr.h"
#include "framework/controls/ToolTipContextToolTip.h"

class COSMHtmlTipHost;

class COSMToolTipHtmlToolTip : public COSMToolTipContextToolTip
{
    DECLARE_DYNAMIC(COSMToolTipHtmlToolTip)

public:
    explicit COSMToolTipHtmlToolTip(COSMToolTipContext* pContext);
    // Closes the host (the control lets its site go) before letting it go.
    ~COSMToolTipHtmlToolTip() override;

    // May pump the thread's messages while the first document loads (at most the host's bound); a message that
    // deletes this window meanwhile leaves the answer (0, 0) and the object untouched.
    void CalcTipSize(CSize& result, COSMToolTipToolRecord& tool) override;
    // Nothing: the control's window draws the content over the background.
    void DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient) override;

    // The host, null before the first measurement or where it could not open.
    COSMHtmlTipHost* GetHtmlHost() const { return m_htmlHost.Get(); }

private:
    RefPtr<COSMHtmlTipHost> m_htmlHost;
};
