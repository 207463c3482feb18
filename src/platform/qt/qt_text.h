#pragma once
// The one crossing between document texts (Windows-1252 bytes) and widgets.

#include <QString>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace tarvel {

inline QString fromCp1252(std::string_view bytes)
{
    return QString::fromStdString(cp1252ToUtf8(bytes));
}

inline std::string toCp1252(const QString& text)
{
    return utf8ToCp1252(text.toStdString());
}

}  // namespace tarvel
