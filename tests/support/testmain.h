#pragma once

// Several test classes per executable: BREVANE_TEST(Class) in each file, BREVANE_TEST_MAIN() in main.cpp.

#include <QApplication>
#include <QObject>
#include <QTest>

#include <functional>
#include <vector>

namespace brevane::testing {

using TestFactory = std::function<QObject *()>;

inline std::vector<TestFactory> &registry()
{
    static std::vector<TestFactory> factories;
    return factories;
}

struct Registrar {
    explicit Registrar(TestFactory factory) { registry().push_back(std::move(factory)); }
};

void initTestEnvironment();

inline int runAll(int argc, char **argv)
{
    QApplication app(argc, argv);
    initTestEnvironment();
    // A function named on the command line runs only in the classes that have it.
    QStringList wanted;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!arg.startsWith(u'-') && (i == 1 || !QString::fromLocal8Bit(argv[i - 1]).startsWith(QLatin1String("-o"))))
            wanted << arg.section(u':', 0, 0);
    }
    int failures = 0;
    for (const TestFactory &factory : registry()) {
        QObject *test = factory();
        bool run = wanted.isEmpty();
        for (const QString &name : std::as_const(wanted))
            run |= test->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(qPrintable(name + QStringLiteral("()")))) >= 0;
        if (run)
            failures += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace brevane::testing

#define BREVANE_TEST(Class) \
    static const ::brevane::testing::Registrar brevaneRegistrar_##Class([] { return static_cast<QObject *>(new Class); });

#define BREVANE_TEST_MAIN() \
    int main(int argc, char **argv) { return ::brevane::testing::runAll(argc, argv); }
