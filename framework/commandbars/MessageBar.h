// COSMMessageBar: a thin bar above a frame's client area that shows a message with a row of push buttons and a
// close button, drawn by the paint manager:
//
//   bar.Create(pFrame, pCommandBars);                   // docked at the top, hidden until there is a message
//   bar.SetMessage("The document was opened read-only.");
//   bar.AddButton(ID_FILE_SAVE_AS);                     // caption from the id's string; clicks send WM_COMMAND
//   bar.AddButton(SC_CLOSE);                            // the close button: hides the bar
//   bar.ShowWindow(SW_SHOW); pFrame->RecalcLayout();
//
// Buttons stand from the inner rectangle's right edge leftward; the close button sits in the 18 pixels GetInnerRect
// leaves on the right. A button is pressed while the left button is held on it and clicks when released there
// (Escape, WM_CANCELMODE and the right button cancel the press).
#pragma once

#include "classlib/CString.h"
#include "classlib/ControlBar.h"
#include "classlib/Geometry.h"

#include <vector>

class CFrameWnd;
class COSMCommandBars;
class COSMPaintManager;

// One button of a message bar.
struct COSMMessageBarButton
{
    CRect rect;
    BOOL pressed = FALSE;
    BOOL hot = FALSE;
    UINT id = 0;
    CString caption;
};

class COSMMessageBar : public CControlBar
{
    DECLARE_DYNAMIC(COSMMessageBar)

public:
    // The close button's strip on the right of the inner rectangle.
    static const int kCloseStrip = 18;

    COSMMessageBar();
    ~COSMMessageBar() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // A click: the close button hides the bar and lays the frame out again; the others send WM_COMMAND (id) to the
    // frame.
    virtual void OnButtonClick(COSMMessageBarButton* button);
    // The three layers of the bar's picture, in this order: background, content (the message), frame (none).
    virtual void FillBackground(CDC* dc);
    virtual void DrawContent(CDC* dc);
    virtual void DrawFrame(CDC* dc);
    virtual void DrawButton(CDC* dc, COSMMessageBarButton* button);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // A top bar of frame, hidden (add WS_VISIBLE to the style to show it at once).
    BOOL Create(CWnd* frame, COSMCommandBars* commandBars, DWORD style = WS_CHILD | CBRS_TOP, UINT id = 0xE806);
    void SetMessage(LPCSTR text);
    const CString& GetMessageText() const { return m_message; }
    // A button for command id; its caption is the first part of the id's string. SC_CLOSE is the close button.
    COSMMessageBarButton* AddButton(UINT id, LPCSTR caption = nullptr);
    void RemoveButtons();
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    COSMMessageBarButton* GetButton(int index);
    COSMMessageBarButton* FindButton(UINT id);
    // The first button under the point (client coordinates), or null.
    COSMMessageBarButton* HitTestButton(CPoint point);
    COSMMessageBarButton* GetHotButton() const { return m_hotButton; }
    BOOL HasCloseButton() const;
    COSMPaintManager* GetPaintManager() const;
    // The paint manager's regular font, or the stock GUI font without a paint manager.
    HFONT GetFontHandle() const;
    // Places the buttons in the client area.
    void RecalcLayout();

    // The client rectangle less the four borders, and kCloseStrip less on the right with a close button.
    static void GetInnerRect(const COSMMessageBar* bar, CRect* rect);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();

    DECLARE_MESSAGE_MAP()

private:
    COSMCommandBars* m_commandBars = nullptr;
    std::vector<COSMMessageBarButton> m_buttons;
    COSMMessageBarButton* m_hotButton = nullptr;
    CString m_message;
    // Left, top, right, bottom.
    CRect m_borders{2, 2, 2, 2};
};
