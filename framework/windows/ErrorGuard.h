// The guard around everything the window system calls back: a translated Qt
// event, a posted message, a timer tick. An exception leaving the guarded code
// goes to the installed error handler (the application installs its own at
// start; standard error until then), so none ever crosses Qt's event loop.
#pragma once

#include <exception>
#include <functional>

class TObject;

using TErrorHandler = std::function<void(TObject* sender, const std::exception& error)>;

// Installs handler and returns the one it replaces; an empty handler means standard error.
TErrorHandler SetErrorHandler(TErrorHandler handler);

// Runs fn; an exception leaving it goes to the error handler with sender. Never throws.
void RunGuarded(TObject* sender, const std::function<void()>& fn) noexcept;
