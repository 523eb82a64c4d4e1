// How the markup image reads its pictures: the foundation's file and resource loaders, through one replaceable pair
// so that tests can count loads and hand out bitmaps of their own.
//
//   COSMMarkupImageLoaders loaders = GetMarkupImageLoaders();
//   BOOL alpha = FALSE;
//   HBITMAP bitmap = loaders.LoadImageFile("logo.png", &alpha);   // the caller deletes it
#pragma once

#include <windows.h>

struct COSMMarkupImageLoaders
{
    // A bitmap from a file, or null; *alpha says whether it carries an alpha channel.
    HBITMAP (*LoadImageFile)(LPCSTR path, BOOL* alpha);
    // A bitmap (or "PNG") resource of the class library's resource module, or null.
    HBITMAP (*LoadImageResource)(LPCSTR name, BOOL* alpha);
};

// The pair in use: the foundation's LoadImageFile and LoadImageResource unless replaced.
const COSMMarkupImageLoaders& GetMarkupImageLoaders();
// Replaces the pair (a null entry takes the default) and returns the previous one, for tests to put back.
COSMMarkupImageLoaders SetMarkupImageLoaders(const COSMMarkupImageLoaders& loaders);
