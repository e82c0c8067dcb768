// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

namespace twl::test {

// The child of `parent` of that object name; a missing one fails the test
// (and gives nothing).
template <typename T> T* Find(QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

template <typename T> T* Find(QObject& parent, const char* name)
{
    return Find<T>(parent, QString::fromLatin1(name));
}

} // namespace twl::test
