// The small windows of the button-image editor: COSMImageEditorPicker, a colour swatch that tells its parent of a
// click (NM_CLICK); COSMImageEditorPreview, the image at its own size; COSMImageEditorToolBar, a tool bar whose
// buttons the dialog enables and checks at idle time.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ToolBar.h"

class COSMImageEditorDialog;

class COSMImageEditorPicker : public CStatic
{
    DECLARE_DYNAMIC(COSMImageEditorPicker)

public:
    // 0xFFFEFF: the transparent swatch, drawn as a checkerboard.
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_color; }
    void SetSelected(BOOL bSelected);
    BOOL IsSelected() const { return m_bSelected; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_color = 0;
    BOOL m_bSelected = FALSE;
};

class COSMImageEditorPreview : public CStatic
{
public:
    // Takes over the dialog's control nID (without its sunken edge).
    void Init(UINT nID, COSMImageEditorDialog* pDialog);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COSMImageEditorDialog* m_pDialog = nullptr;
    int m_cxImage = 16;
    int m_cyImage = 16;
};

class COSMImageEditorToolBar : public CToolBar
{
protected:
    // Updates the buttons from the parent (the dialog), not from a frame.
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
