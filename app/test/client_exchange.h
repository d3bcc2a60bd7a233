#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/testing/screen_area.h"

// Two test programs in two Wine prefixes share no kernel objects, but both see the Unix file
// system: they meet in a folder of it, one small file per step. A file is written under another
// name and then renamed, so a reader never sees half of it.
// Threads: one test thread.
class ClientExchange {
public:
    // The folder named by the environment variable KESTRUM_TWO_CLIENTS_EXCHANGE; none when unset.
    ClientExchange();
    bool ready() const { return !folder_.empty(); }

    bool put(const std::string& step, const std::string& text) const;
    // The text of a step, waiting for it (peers start slowly: several tests' timeouts); false
    // when it did not come.
    bool await(const std::string& step, std::string* text = nullptr) const;

private:
    std::wstring folder_;
};

// The screen as every X client draws it, the other prefix's windows included.
using window_testing::ScreenArea;

// Keys typed into a window's focused control, as a keyboard's characters arrive.
void TypeText(HWND window, const std::wstring& text);

// "NAME=VALUE" lines set as the environment of programs started from now on.
void SetEnvironmentLines(const std::string& lines);
