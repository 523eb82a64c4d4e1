// CView is a child window that shows a document inside a frame. The frame knows the view the user works in
// (CFrameWnd::SetActiveView, GetActiveView); the view knows its document and says which of the document's items are
// selected, which is how commands that act on "the selected object" find it:
//
//   class CTextView : public CView { public: BOOL IsSelected(const CObject* item) const override; };
//   view.SetDocument(&document);
//   frame.SetActiveView(&view);
#pragma once

#include "classlib/DocTemplate.h"
#include "classlib/Wnd.h"

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CView() = default;

    // ---- Override these ----------------------------------------------------------------------------------------
    // TRUE when the document item (a COleClientItem, say) is selected in this view; none is in the base.
    virtual BOOL IsSelected(const CObject* pDocItem) const { return FALSE; }

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The document the view shows, or null (not owned).
    CDocument* GetDocument() const { return m_pDocument; }
    void SetDocument(CDocument* pDocument) { m_pDocument = pDocument; }

protected:
    CDocument* m_pDocument = nullptr;
};
