// Texts of dialog controls and list-view cells in the ANSI code page, the encoding the
// settings hold. The controls hold UTF-16; the conversion happens only here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace quill {

// `text` cut to at most `maxBytes` bytes without splitting a multi-byte character.
std::string cutAnsi(const std::string &text, std::size_t maxBytes);

// The text of control `id` of `dialog`, cut to at most `maxBytes` bytes.
std::string controlText(HWND dialog, int id, std::size_t maxBytes);
void setControlText(HWND dialog, int id, const std::string &text);

// The text of one cell of a report-style list view, whole.
std::string listCellText(HWND list, int row, int column);
void setListCellText(HWND list, int row, int column, const std::string &text);
// Appends a row with `name` in its first column; returns its index or -1.
int appendListRow(HWND list, const std::string &name);

// The first selected row of a list view, or -1.
int firstSelectedRow(HWND list);

} // namespace quill
