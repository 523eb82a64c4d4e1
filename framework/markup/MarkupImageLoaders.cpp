#include "framework/markup/MarkupImageLoaders.h"

#include "framework/foundation/ImageLoaders.h"

namespace {

HBITMAP DefaultLoadImageFile(LPCSTR path, BOOL* alpha)
{
    return ::LoadImageFile(path, alpha);
}

HBITMAP DefaultLoadImageResource(LPCSTR name, BOOL* alpha)
{
    return ::LoadImageResource(name, alpha);
}

COSMMarkupImageLoaders& Loaders()
{
    static COSMMarkupImageLoaders loaders = {DefaultLoadImageFile, DefaultLoadImageResource};
    return loaders;
}

}  // namespace

const COSMMarkupImageLoaders& GetMarkupImageLoaders()
{
    return Loaders();
}

COSMMarkupImageLoaders SetMarkupImageLoaders(const COSMMarkupImageLoaders& loaders)
{
    COSMMarkupImageLoaders previous = Loaders();
    Loaders().LoadImageFile = loaders.LoadImageFile ? loaders.LoadImageFile : DefaultLoadImageFile;
    Loaders().LoadImageResource = loaders.LoadImageResource ? loaders.LoadImageResource : DefaultLoadImageResource;
    return previous;
}
