// Resource ids of the image-loader tests' own resources (ImageResources.rc).
#pragma once

#define IDB_ALPHA_V5 401
#define IDB_ALPHA_BITFIELDS 402
#define IDB_ALPHA_NEGATIVE 403
#define IDB_ALPHA_SHORT 404
#define IDB_PLAIN24 405
#define IDB_ALPHA_STRIP 406
#define IDI_TWO_IMAGES 407
#define IDI_SHORT_IMAGE 408
#define IDR_PNG_IMAGE 409
#define IDR_PNG_TINY 410
