#pragma once

#include <windows.h>

#include <cstddef>

// Number lists in markup attribute values, such as "dest" or "padding": decimal numbers with one
// separator character after each ("1,2,3,4"). Safe on any thread.
namespace ui {

// Reads count numbers into values, each as wcstol reads it, the next starting one character
// after where the previous stopped. Reading never goes past the text's end: numbers the text
// lacks are 0. A null text gives all zeros.
void ReadNumbers(const wchar_t* text, long* values, std::size_t count);

// Four numbers as left, top, right, bottom.
void ReadRect(const wchar_t* text, RECT& rect);

}  // namespace ui
