#pragma once

#include <QString>

// The program's version, the project's version in CMakeLists.txt (QUINABEL_VERSION).
inline QString programVersion() {
    return QStringLiteral(QUINABEL_VERSION);
}
