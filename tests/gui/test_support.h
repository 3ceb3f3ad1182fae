#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <string>

namespace sorvel::test {

// The set folder the build generated (image sets and scale.csv).
inline std::string setFolder() {
    const char* env = std::getenv("SORVEL_TEST_SET");
    return env ? env : "set";
}

inline QString labelText(const QWidget& root, const char* name) {
    auto* label = root.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

}  // namespace sorvel::test
