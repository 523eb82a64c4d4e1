// The table that makes controls by Type code. Types 1 to 4 are the button and popup classes of the command bars; the
// control types above them (the combo box, the edit and the gallery of framework/controls, and every class that
// arrives later) register their create functions, and until then their Type (and their command ids) make nothing:
//
//   COSMControl* CreateLabel() { return new COSMControlLabel; }
//   COSMControlFactory::RegisterType(8, &CreateLabel);
//   COSMControlFactory::RegisterListControl(COSMControlFactory::kWindowList, &CreateWindowList);
//
// Registration happens on the user-interface thread before bars are built (at start-up or in a test's set-up). The
// controls library registers its Types as defaults while the program starts (framework/controls/ControlsLibrary.cpp).
#pragma once

#include "classlib/ClassLibBase.h"

class COSMControl;

class COSMControlFactory
{
public:
    typedef COSMControl* (*Creator)();

    static constexpr int kFirstType = 1;
    static constexpr int kLastType = 11;
    // Types the collection knows by number: 1 button, 2 to 4 popups, 7 the custom control.
    static constexpr int kTypeButton = 1;
    static constexpr int kTypePopup = 2;
    static constexpr int kTypeCustom = 7;
    static constexpr int kTypeGallery = 10;

    // The Type 1 controls that fill themselves, each made for its command id.
    enum ListControl
    {
        kWindowList,        // 35000
        kWorkspaceActions,  // 35002
        kToolbars,          // 59392
        kRecentFileList,    // 35003 (57616 in menus)
        kOleItems,          // 57872 in menus, with the caption "<<OLE VERBS GO HERE>>"
        kListControlCount
    };

    // Replaces the create function of a Type (1 to 11); null takes the Type's class away.
    static void RegisterType(int type, Creator creator);
    static void RegisterListControl(ListControl kind, Creator creator);
    static Creator GetTypeCreator(int type);
    static Creator GetListControlCreator(ListControl kind);
    // Registers the create function of a Type as the one ResetRegistrations puts back, and puts it in place now.
    static void RegisterDefaultType(int type, Creator creator);
    // The same for a list control's slot.
    static void RegisterDefaultListControl(ListControl kind, Creator creator);
    // Puts the table back as it starts: the button and popup classes and the default Types and list controls
    // registered.
    static void ResetRegistrations();

    // What COSMControls::Add makes for the Type and id; null when nothing is registered for them.
    static COSMControl* CreateForAdd(int type, UINT id);
    // What menu conversion makes for the Type, id and caption; Type 7 makes nothing.
    static COSMControl* CreateForMenu(int type, UINT id, const CString& caption);
};
