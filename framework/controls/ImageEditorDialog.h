// COSMImageEditorDialog: the modal button-image editor the customize sheet opens to edit a button's image. It holds
// the editing picture, an actual-size preview, a palette of sixteen colours with a custom-colour and a transparent
// swatch, a tool bar of six tools and six commands, and a bar of four arrows that move the image.
//
//   COSMImageEditorDialog editor(this, TRUE);        // TRUE: a safe window of the mouse manager while open
//   if (icon) editor.SetIcon(icon->GetIcon()); else editor.SetSize(16, 16);
//   if (editor.DoModal() == IDOK)
//   {
//       COSMImageManagerIconHandle edited;
//       editor.GetIcon(&edited);                     // stays empty for an empty picture
//   }
//
// Tests can answer for the user (SetTestAnswer): DoModal then opens no window and GetIcon gives their image.
#pragma once

#include "classlib/Dialog.h"
#include "classlib/ImageList.h"
#include "classlib/ToolBar.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/controls/ImageEditorParts.h"
#include "framework/controls/ImageEditorPicture.h"
#include "framework/foundation/ImageManagerIconHandle.h"

// Asks the user for a colour, starting from *pColor; the result of the colour dialog (IDOK, IDCANCEL; 0 when it
// could not open) with *pColor the colour chosen, unchanged after Cancel. The default runs the class library's
// colour dialog; tests put their own answer in its place.
using OsmImageEditorColorChooser = INT_PTR (*)(CWnd* pParent, COLORREF* pColor);
// Sets the chooser the custom-colour swatch asks (null: the default) and returns the one set before.
OsmImageEditorColorChooser OsmSetImageEditorColorChooser(OsmImageEditorColorChooser chooser);

class COSMImageEditorDialog : public CDialog
{
public:
    // The dialog's controls and commands.
    enum : UINT
    {
        kIdPicture = IDC_OSM_IMAGE_EDITOR_PICTURE,
        kIdPreview = IDC_OSM_IMAGE_EDITOR_PREVIEW,
        kIdPalette = IDC_OSM_IMAGE_EDITOR_PALETTE,
        kIdToolsPlaceholder = IDC_OSM_IMAGE_EDITOR_TOOLS,
        kIdMovePlaceholder = IDC_OSM_IMAGE_EDITOR_MOVE,
        kIdTransparent = IDC_OSM_IMAGE_EDITOR_TRANSPARENT,
        kIdCustomColor = IDC_OSM_IMAGE_EDITOR_CUSTOM,
        kIdMoveLeft = ID_OSM_IMAGE_EDITOR_MOVE_LEFT,
        kIdMoveDown = ID_OSM_IMAGE_EDITOR_MOVE_DOWN,
        kIdMoveUp = ID_OSM_IMAGE_EDITOR_MOVE_UP,
        kIdMoveRight = ID_OSM_IMAGE_EDITOR_MOVE_RIGHT,
        kIdPencil = ID_OSM_IMAGE_EDITOR_PENCIL,
        kIdFill = ID_OSM_IMAGE_EDITOR_FILL,
        kIdPicker = ID_OSM_IMAGE_EDITOR_PICKER,
        kIdLine = ID_OSM_IMAGE_EDITOR_LINE,
        kIdRectangle = ID_OSM_IMAGE_EDITOR_RECTANGLE,
        kIdEllipse = ID_OSM_IMAGE_EDITOR_ELLIPSE,
        kIdCopy = ID_OSM_IMAGE_EDITOR_COPY,
        kIdPaste = ID_OSM_IMAGE_EDITOR_PASTE,
        kIdClear = ID_OSM_IMAGE_EDITOR_CLEAR,
        kIdUndo = ID_OSM_IMAGE_EDITOR_UNDO,
        kIdRedo = ID_OSM_IMAGE_EDITOR_REDO,
        kIdOpen = ID_OSM_IMAGE_EDITOR_OPEN,
        kIdFirstSwatch = 9900,
        kIdLastSwatch = 9946,
    };
    static constexpr int kPaletteCount = 16;

    // registerSafeWindow: the editor's window joins the thread's mouse manager's safe windows while it is open.
    COSMImageEditorDialog(CWnd* pParent, BOOL registerSafeWindow);
    ~COSMImageEditorDialog() override;

    // The size of an empty picture, for a control without an image (before DoModal).
    void SetSize(int cx, int cy);
    // The image to edit: its size becomes the picture's; an alpha image is edited with straight alpha.
    void SetIcon(const COSMImageManagerIconHandle& image);
    // The edited image, after IDOK; nothing when result is null or the picture is empty.
    void GetIcon(COSMImageManagerIconHandle* result);
    INT_PTR DoModal() override;

    // Makes swatch the one the tools draw with (the one before is unselected).
    void SelectPicker(COSMImageEditorPicker* pSwatch);
    void InvalidatePreview();
    // The colour picker found colour: it goes into the custom-colour swatch, which is selected, and the tool used
    // before the picker comes back.
    void OnColorPicked(COLORREF color);

    COLORREF GetSelectedColor() const { return m_pSelected ? m_pSelected->GetColor() : 0; }
    int GetCurrentTool() const { return m_nCurrentTool; }
    int GetPreviousTool() const { return m_nPreviousTool; }
    CSize GetImageSize() const { return CSize(m_cxImage, m_cyImage); }
    // Kept under the name the customize sheet's tests know.
    CSize GetSize() const { return GetImageSize(); }
    // The image SetIcon was given (a copy).
    const COSMImageManagerIconHandle& GetEditedImage() const { return m_image; }
    COSMImageEditorPicture& GetPicture() { return m_wndPicture; }
    COSMImageEditorPreview& GetPreview() { return m_wndPreview; }
    COSMImageEditorPicker* GetSelectedPicker() const { return m_pSelected; }
    COSMImageEditorPicker& GetCustomPicker() { return m_pickerCustom; }
    COSMImageEditorPicker& GetTransparentPicker() { return m_pickerTransparent; }
    COSMImageEditorPicker& GetPalettePicker(int nIndex) { return m_palette[nIndex]; }
    COSMImageEditorToolBar& GetToolsBar() { return m_wndToolsBar; }
    COSMImageEditorToolBar& GetMoveBar() { return m_wndMoveBar; }
    CImageList& GetToolsImages() { return m_imagesTools; }
    CImageList& GetMoveImages() { return m_imagesMove; }

    // Tests answer for the user: DoModal gives answer without a window, and GetIcon the image (empty: nothing).
    // ResetTestAnswer answers Cancel; EndTestAnswer lets the real dialog run again.
    static void SetTestAnswer(INT_PTR answer, const COSMImageManagerIconHandle& image)
    {
        s_bTestAnswered = true;
        s_testAnswer = answer;
        s_testImage = image;
    }
    static void ResetTestAnswer() { SetTestAnswer(IDCANCEL, COSMImageManagerIconHandle()); }
    static void EndTestAnswer()
    {
        s_bTestAnswered = false;
        s_testImage.Clear();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnDestroy();
    afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomColorClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnPaletteClick(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTransparentClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
    afx_msg void OnTool(UINT nID);
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRedo(CCmdUI* pCmdUI);
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnClear();
    afx_msg void OnCopy();
    afx_msg void OnPaste();
    afx_msg void OnOpen();
    afx_msg void OnMove(UINT nID);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // Places a bar over its placeholder with the buttons of ids; wrapEvery > 0 ends a row after every so many.
    void CreateBar(COSMImageEditorToolBar& bar, CButton& placeholder, const UINT* ids, int count, int wrapEvery);
    void LoadBarImages();

    CButton m_btnToolsPlaceholder;
    CButton m_btnMovePlaceholder;
    COSMImageEditorToolBar m_wndToolsBar;
    CImageList m_imagesTools;
    COSMImageEditorToolBar m_wndMoveBar;
    CImageList m_imagesMove;
    COSMImageEditorPicker m_palette[kPaletteCount];
    COSMImageEditorPicker m_pickerCustom;
    COSMImageEditorPicker m_pickerTransparent;
    COSMImageEditorPicture m_wndPicture;
    COSMImageEditorPreview m_wndPreview;
    COSMImageEditorPicker* m_pSelected = nullptr;
    int m_nCurrentTool = 0;
    int m_nPreviousTool = -1;
    int m_cxImage = 16;
    int m_cyImage = 16;
    BOOL m_bRegister;
    HWND m_hWndRegistered = nullptr;
    COSMImageManagerIconHandle m_image;

    static inline bool s_bTestAnswered = false;
    static inline INT_PTR s_testAnswer = IDCANCEL;
    static inline COSMImageManagerIconHandle s_testImage;
};
