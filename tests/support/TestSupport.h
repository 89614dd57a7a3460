#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

// Every test runs under the Brazilian settings the program is made for, so money reads 1.848,00.
inline void useBrazilianLocale() {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

// A test main that sets the locale before the test object exists. Core tests need no window
// system; GUI tests get a QApplication on the offscreen platform (set by CTest).
#define QUINABEL_TEST_MAIN_IMPL(AppClass, TestClass)                                                         \
    int main(int argc, char** argv) {                                                                        \
        useBrazilianLocale();                                                                                \
        AppClass app(argc, argv);                                                                            \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

#define QUINABEL_CORE_TEST_MAIN(TestClass) QUINABEL_TEST_MAIN_IMPL(QCoreApplication, TestClass)
#define QUINABEL_GUI_TEST_MAIN(TestClass) QUINABEL_TEST_MAIN_IMPL(QApplication, TestClass)

// A fresh, empty working folder for one test; removed afterwards.
struct WorkFolder {
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }
};
