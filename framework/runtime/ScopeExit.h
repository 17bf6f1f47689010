// Runs a piece of clean-up when the scope ends, however it ends: for state
// that has no guard of its own (a canvas's copy mode, a context's stretch mode).
//
//     const TCopyMode previous = canvas->CopyMode();
//     TScopeExit restore([&] { canvas->SetCopyMode(previous); });
#pragma once

#include <utility>

template <typename F>
class TScopeExit {
public:
    explicit TScopeExit(F cleanUp) : cleanUp_(std::move(cleanUp)) {}
    ~TScopeExit() { cleanUp_(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F cleanUp_;
};
