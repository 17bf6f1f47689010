#include "window/Resources.h"

// The resources live in a static library: their registration is pulled in by name.
static void InitWindowResources()
{
    Q_INIT_RESOURCE(window);
}

std::unique_ptr<TBitmap> LoadWindowBitmap(const char* name)
{
    static const bool registered = (InitWindowResources(), true);
    (void)registered;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(name);
    return bitmap;
}

const char* AppIconResource()
{
    static const bool registered = (InitWindowResources(), true);
    (void)registered;
    return ":/AppIcon";
}
