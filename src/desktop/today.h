#pragma once

#include <QDate>
#include <functional>

// Today's date by the desktop's clock; tests hand in a fixed day.
using Today = std::function<QDate()>;
