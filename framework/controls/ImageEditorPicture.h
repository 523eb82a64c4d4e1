// COSMImageEditorPicture: the editing surface of the button-image editor. A static control of the editor dialog
// that shows the image magnified into cells, draws on it with the dialog's current tool (pencil, fill, colour
// picker, line, rectangle, ellipse) in the selected colour, keeps undo and redo histories of 16 images at most,
// moves the image by a pixel, and exchanges it with the clipboard and with image files.
//
//   m_wndPicture.Init(IDC_PICTURE, this);   // in the dialog's OnInitDialog: takes over the dialog's control
//
// An edit keeps the image as it was before it in m_pBefore until Commit pushes that onto the undo list; a drag
// commits when the mouse capture ends, whatever ended it.
#pragma once

#include "classlib/Controls.h"
#include "classlib/DC.h"
#include "framework/controls/ImageEditorBitmap.h"

class COSMImageEditorDialog;

// Asks the user for an image file to load: TRUE with the path after OK. lpszFilter is in the open dialog's '|'
// form. The default runs the class library's open-file dialog; tests put their own answer in its place.
using OsmImageEditorFileChooser = BOOL (*)(CWnd* pParent, LPCSTR lpszFilter, CString* pPath);
// Sets the chooser Load asks (null: the default) and returns the one set before.
OsmImageEditorFileChooser OsmSetImageEditorFileChooser(OsmImageEditorFileChooser chooser);

class COSMImageEditorPicture : public CStatic
{
public:
    // The dialog's tools, by index.
    enum Tool
    {
        kToolPencil = 0,
        kToolFill = 1,
        kToolPicker = 2,
        kToolLine = 3,
        kToolRectangle = 4,
        kToolEllipse = 5,
    };

    COSMImageEditorPicture();
    ~COSMImageEditorPicture() override;

    // Takes over the dialog's control nID and sizes it to whole cells of the dialog's image size (cells are at
    // least 1 x 1, so a control smaller than the image grows).
    void Init(UINT nID, COSMImageEditorDialog* pDialog);

    // The image's colour at the pixel; 0xFFFEFF for an empty picture.
    COLORREF GetPixelAt(int px, int py) const;
    // The image pixel under a client point.
    CPoint PointToPixel(CPoint point) const;

    // Makes pTarget a new cx x cy image filled with the transparent colour, on which pSource (when given) is drawn
    // at ptOffset; then, when the source has no alpha and from != to, every pixel of colour from becomes to. The
    // target takes the source's alpha flag. The shared copy step of every tool and command.
    static void CopyImage(COSMImageEditorBitmap* pTarget, COSMImageEditorBitmap* pSource, int cx, int cy,
                          CPoint ptOffset, COLORREF clrFrom, COLORREF clrTo, CDC* pReferenceDC);

    // Closes the pending edit: the redo list empties and the image before the edit goes onto the undo list.
    void Commit();
    void Undo();
    void Redo();
    void Clear();
    void Move(int dx, int dy);
    // Puts the image on the clipboard (transparent pixels as the button face unless it has alpha).
    void Copy();
    // Takes the clipboard's bitmap (the button face becomes transparent unless it has alpha).
    void Paste();
    // Loads an image file the user chooses.
    void Load();
    // Repaints the picture and the dialog's preview.
    void Invalidate();

    // The image shown (null: empty picture); the picture keeps it.
    COSMImageEditorBitmap* GetCurrentImage() const { return m_pCurrent; }
    // Replaces the image shown without touching the histories (the dialog's starting image).
    void SetCurrentImage(COSMImageEditorBitmap* pImage);
    BOOL CanUndo() const { return !m_undo.IsEmpty(); }
    BOOL CanRedo() const { return !m_redo.IsEmpty(); }
    const COSMImageEditorBitmapList& GetUndoList() const { return m_undo; }
    const COSMImageEditorBitmapList& GetRedoList() const { return m_redo; }
    CSize GetCellSize() const { return CSize(m_cxCell, m_cyCell); }
    CSize GetImageSize() const { return CSize(m_cxImage, m_cyImage); }

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // A new exact copy of pSource (null: an all-transparent image).
    COSMImageEditorBitmap* CopyOf(COSMImageEditorBitmap* pSource) const;
    // After GDI drew on an image with alpha: every pixel that differs from the reference and is not transparent
    // becomes opaque (GDI leaves alpha 0 behind).
    void RepairAlpha(COSMImageEditorBitmap* pDrawn, COSMImageEditorBitmap* pReference) const;
    // Starts an edit: the current image becomes the pending undo entry and current an exact copy of it.
    void BeginEdit();
    // The current image becomes pNew (the old one is deleted) and the picture repaints.
    void ReplaceCurrent(COSMImageEditorBitmap* pNew);
    COLORREF GetSelectedColor() const;
    int GetCurrentTool() const;

    int m_cxImage = 16;
    int m_cyImage = 16;
    int m_cxCell = 1;
    int m_cyCell = 1;
    COSMImageEditorDialog* m_pDialog = nullptr;
    CDC m_dcMem;
    COSMImageEditorBitmap* m_pBefore = nullptr;
    COSMImageEditorBitmap* m_pCurrent = nullptr;
    COSMImageEditorBitmapList m_undo;
    COSMImageEditorBitmapList m_redo;
    CPoint m_ptDragStart;
    BOOL m_bDrawing = FALSE;
    // Between the button-down and its commit (the capture's end).
    BOOL m_bEditPending = FALSE;
    COLORREF m_clrDraw = 0;
    HCURSOR m_hCursorShape = nullptr;
    HCURSOR m_hCursorFill = nullptr;
    HCURSOR m_hCursorPencil = nullptr;
    HCURSOR m_hCursorPicker = nullptr;
};
