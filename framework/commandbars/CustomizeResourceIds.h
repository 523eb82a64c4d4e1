// Ids of the customize sheet's resources (resources/CustomizeResources.rc, part of the command bars' resource file).
// The .rc reads this file too, so it holds plain defines only.
#pragma once

// The toolbars page: the check list of toolbars and its four buttons.
#define IDD_OSM_CUSTOMIZE_TOOLBARS 9117
#define IDC_OSM_CUSTOMIZE_TOOLBAR_LIST 100
#define IDC_OSM_CUSTOMIZE_TOOLBAR_NEW 101
#define IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME 102
#define IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE 103
#define IDC_OSM_CUSTOMIZE_TOOLBAR_RESET 104

// The commands page: the categories and the commands of the selected one.
#define IDD_OSM_CUSTOMIZE_COMMANDS 9119
#define IDC_OSM_CUSTOMIZE_CATEGORIES 100
#define IDC_OSM_CUSTOMIZE_COMMANDS 101

// The question before a toolbar is deleted (%s its title).
#define IDS_OSM_DELETE_TOOLBAR_QUESTION 9168

// The sheet's caption.
#define IDS_OSM_CUSTOMIZE_CAPTION 9420

// Captions of the context menu's entries (the entries' own ids are 9123 ... 9134, whose strings are prompts of
// other commands).
#define IDS_OSM_CUSTOMIZE_MENU_RESET 9421
#define IDS_OSM_CUSTOMIZE_MENU_DELETE 9422
#define IDS_OSM_CUSTOMIZE_MENU_NAME 9423
#define IDS_OSM_CUSTOMIZE_MENU_COPY_IMAGE 9424
#define IDS_OSM_CUSTOMIZE_MENU_PASTE_IMAGE 9425
#define IDS_OSM_CUSTOMIZE_MENU_RESET_IMAGE 9426
#define IDS_OSM_CUSTOMIZE_MENU_EDIT_IMAGE 9427
#define IDS_OSM_CUSTOMIZE_MENU_CHANGE_IMAGE 9428
#define IDS_OSM_CUSTOMIZE_MENU_STYLE_DEFAULT 9429
#define IDS_OSM_CUSTOMIZE_MENU_STYLE_IMAGE_AND_TEXT 9430
#define IDS_OSM_CUSTOMIZE_MENU_STYLE_TEXT_ONLY 9431
#define IDS_OSM_CUSTOMIZE_MENU_BEGIN_GROUP 9432

// The predefined button images of the change-image grid: a strip of 16 x 16 images, magenta transparent.
#define IDB_OSM_CUSTOMIZE_IMAGES 9433
