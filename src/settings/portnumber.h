#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// A port as the settings keep it, in text (CSPort, HLTVPort, a favourite's
// port): a decimal number 1..65535. Any other text is no port.
std::optional<quint16> parsePort(QStringView text);
