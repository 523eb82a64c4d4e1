// Resource ids of the control and image tests' own resources (ControlResources.rc).
#pragma once

#define IDB_MARKUP_PLAIN 501
#define IDI_MARKUP_ICON 502
