#include "framework/windows/ErrorGuard.h"

#include <cstdio>
#include <utility>

namespace {

TErrorHandler& InstalledHandler()
{
    static TErrorHandler handler;
    return handler;
}

} // namespace

TErrorHandler SetErrorHandler(TErrorHandler handler)
{
    return std::exchange(InstalledHandler(), std::move(handler));
}

void RunGuarded(TObject* sender, const std::function<void()>& fn) noexcept
{
    try {
        fn();
        return;
    } catch (const std::exception& error) {
        if (const TErrorHandler& handler = InstalledHandler()) {
            try {
                handler(sender, error);
                return;
            } catch (...) {
                // A failing report must not cross the event loop either.
            }
        }
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception\n");
    }
}
