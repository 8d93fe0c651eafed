#pragma once

// The smallest size of the main window: it shrinks no further, and the load
// raises a saved size below it.
constexpr int MainWindowMinWidth = 680;
constexpr int MainWindowMinHeight = 175;
