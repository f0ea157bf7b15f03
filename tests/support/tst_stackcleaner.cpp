#include "support/errors.h"
#include "support/stackcleaner.h"

#include <QtTest>

#include <vector>

// Named, not inlined and not local to this file, so that the stack captured at the throw shows them.
[[gnu::noinline]] void reachForTheTwelfthProblem() {
    std::vector<int> problems(10);
    (void)problems.at(11);
}

[[gnu::noinline]] void lookUpAStudent(const QString& name, int classId) {
    throw KeyNotFoundException("no student " + name.toStdString() + " in " + std::to_string(classId));
}

namespace {

std::exception_ptr caught(void (*f)()) {
    try {
        f();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

class TestStackCleaner : public QObject {
    Q_OBJECT
private slots:
    void cleansTheKnownSymbols_data();
    void cleansTheKnownSymbols();
    void parsesTypeCodes_data();
    void parsesTypeCodes();
    void namesTheKind_data();
    void namesTheKind();
    void translatesCppSignatures_data();
    void translatesCppSignatures();
    void startUpFramesLeaveAnEmptyStack();
    void reportsWhereTheErrorWasThrown();
};

void TestStackCleaner::cleansTheKnownSymbols_data() {
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("line");
    QTest::newRow("method") << "newCnvBtn.setCaption%%o<newCnvBtn>su1"
                            << "Sub newCnvBtn.setCaption( string, uint8 )";
    QTest::newRow("array") << "indexLB.populateMe%%o<indexLB>A1s"
                           << "Sub indexLB.populateMe( string() )";
    QTest::newRow("byref") << "myGlobals.gGetPrinterSetup%%&o<PrinterSetup>"
                           << "Sub myGlobals.gGetPrinterSetup( byref PrinterSetup )";
    QTest::newRow("function") << "HTMLField.ColorFromHex%c%o<HTMLField>s"
                              << "Function HTMLField.ColorFromHex( string ) as color";
    QTest::newRow("array result") << "StackCleaner.ParseParams%A1s%s"
                                  << "Function StackCleaner.ParseParams( string ) as string()";
    QTest::newRow("extension") << "StackCleaner.$CleanStack%A1s%o<RuntimeException>"
                               << "Function StackCleaner.CleanStack( extends RuntimeException ) as string()";
    QTest::newRow("window method")
        << "newAboutScrn.newAboutScrn.displayFld_KeyDown%b%o<newAboutScrn.newAboutScrn>o<TextArea>s"
        << "Function newAboutScrn.newAboutScrn.displayFld_KeyDown( newAboutScrn.newAboutScrn, TextArea, "
           "string ) as "
           "boolean";
    QTest::newRow("event") << "App.Event_Open%%o<App>"
                           << "Sub App.Event_Open()";
    QTest::newRow("paramarray") << "Dictionary.*Constructor%%o<Dictionary>A1o<Pair>"
                                << "Sub Dictionary.Constructor( paramarray Pair() )";
    QTest::newRow("assigns") << "EmailMessage.=Subject%%o<EmailMessage>s"
                             << "Sub EmailMessage.Subject( assigns string )";
    QTest::newRow("variants add nothing") << "Pair.Constructor%%o<Pair>vv"
                                          << "Sub Pair.Constructor()";
    QTest::newRow("event marker") << "Timer1.#Action%%o<Timer1>"
                                  << "Event Timer1.Action()";
    QTest::newRow("last result entry") << "X.f%si4%"
                                       << "Function X.f() as int32";
    QTest::newRow("entry point") << "% main"
                                 << "";
    QTest::newRow("no percent") << "objc_msgSend"
                                << "";
    QTest::newRow("two parts") << "A.b%"
                               << "";
    QTest::newRow("start-up frames") << "_Main"
                                     << "";
    QTest::newRow("run loop") << "REALbasic._RuntimeRun"
                              << "";
    QTest::newRow("app object") << "REALbasic._RuntimeRegisterAppObject%%o<Application>"
                                << "";
    QTest::newRow("markers without parameters") << "X.$=*f%%"
                                                << "Sub X.f()";
}

void TestStackCleaner::cleansTheKnownSymbols() {
    QFETCH(QString, symbol);
    QFETCH(QString, line);
    QCOMPARE(StackCleaner::CleanMangledFunction(symbol), line);
}

void TestStackCleaner::parsesTypeCodes_data() {
    QTest::addColumn<QString>("codes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("widths") << "i1i2i4i8u1u8f4f8" << QStringList{"int8",  "int16",  "int32",  "int64",
                                                                 "uint8", "uint64", "single", "double"};
    QTest::newRow("three dimensions") << "A3s" << QStringList{"string(,,)"};
    QTest::newRow("byref two dimensions") << "&A2s" << QStringList{"byref string(,)"};
    QTest::newRow("non-digit width") << "ixuy" << QStringList{"int0", "uint0"};
    QTest::newRow("unknown letters") << "vpbe" << QStringList{"boolean"};
    QTest::newRow("dotted class") << "o<a.b.C>c" << QStringList{"a.b.C", "color"};
    QTest::newRow("ends after A") << "sA" << QStringList{"string"};
    QTest::newRow("ends after &") << "s&" << QStringList{"string"};
    QTest::newRow("unknown float width") << "f2s" << QStringList{"string"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestStackCleaner::parsesTypeCodes() {
    QFETCH(QString, codes);
    QFETCH(QStringList, entries);
    QCOMPARE(StackCleaner::ParseParams(codes), entries);
}

void TestStackCleaner::namesTheKind_data() {
    QTest::addColumn<std::exception_ptr>("error");
    QTest::addColumn<QString>("kind");
    QTest::newRow("nil") << std::make_exception_ptr(NilObjectException()) << "NilObjectException";
    QTest::newRow("derived counts as its base")
        << std::make_exception_ptr(RegExSearchPatternException()) << "RegExException";
    QTest::newRow("already running before script")
        << std::make_exception_ptr(ScriptAlreadyRunningException()) << "ScriptAlreadyRunningException";
    QTest::newRow("script") << std::make_exception_ptr(ScriptException()) << "ScriptException";
    QTest::newRow("input/output is not listed") << std::make_exception_ptr(IOException()) << "";
    QTest::newRow("std out_of_range")
        << std::make_exception_ptr(std::out_of_range("x")) << "OutOfBoundsException";
    QTest::newRow("std bad_alloc") << std::make_exception_ptr(std::bad_alloc()) << "OutOfMemoryException";
    QTest::newRow("std bad_cast") << std::make_exception_ptr(std::bad_cast()) << "IllegalCastException";
    QTest::newRow("std runtime_error") << std::make_exception_ptr(std::runtime_error("x")) << "";
    QTest::newRow("not an exception") << std::make_exception_ptr(42) << "";
    QTest::newRow("none") << std::exception_ptr() << "";
}

void TestStackCleaner::namesTheKind() {
    QFETCH(std::exception_ptr, error);
    QFETCH(QString, kind);
    QCOMPARE(modErrors::TypeOfException(error), kind);
}

void TestStackCleaner::translatesCppSignatures_data() {
    QTest::addColumn<QString>("signature");
    QTest::addColumn<QString>("line");
    QTest::newRow("namespace function") << "DBCtrl::insertClass(QString const&, int)"
                                        << "Sub DBCtrl.insertClass( string, int32 )";
    QTest::newRow("no parameters") << "StRecord::updateData()"
                                   << "Sub StRecord.updateData()";
    QTest::newRow("written reference") << "myGlobals::gGetPrinterSetup(QPrinter&)"
                                       << "Sub myGlobals.gGetPrinterSetup( byref QPrinter )";
    QTest::newRow("pointer and list") << "NameScrn::fill(QWidget*, QList<int> const&, bool)"
                                      << "Sub NameScrn.fill( QWidget, int32(), boolean )";
    QTest::newRow("template with result")
        << "double Stats::mean<double>(std::vector<double, std::allocator<double> > const&)"
        << "Function Stats.mean( double() ) as double";
    QTest::newRow("anonymous and lambda") << "(anonymous namespace)::run()::{lambda()#1}::operator()() const"
                                          << "Sub anonymous.run.lambda.operator()";
    QTest::newRow("operator assign") << "StRecord::operator=(StRecord const&)"
                                     << "Sub StRecord.operator()";
    QTest::newRow("entry point") << "main"
                                 << "";
    QTest::newRow("not a function") << "vtable for StRecord"
                                    << "";
}

void TestStackCleaner::translatesCppSignatures() {
    QFETCH(QString, signature);
    QFETCH(QString, line);
    QCOMPARE(StackCleaner::CleanMangledFunction(StackCleaner::SymbolFromSignature(signature)), line);
}

void TestStackCleaner::startUpFramesLeaveAnEmptyStack() {
    QCOMPARE(StackCleaner::CleanStack(QStringList{"_NewAppInstance", "_Main", "% main"}), QStringList());
    QCOMPARE(StackCleaner::CleanStack(QStringList{}), QStringList());
}

void TestStackCleaner::reportsWhereTheErrorWasThrown() {
    const QString ours = ErrorReport::reportText(caught([] { lookUpAStudent("Ann", 4); }));
    // The first line of the stack is the function that threw, not the error's own constructors.
    QVERIFY2(ours.startsWith("Error: KeyNotFoundException\nSub lookUpAStudent( string, int32 )\n"),
             qPrintable(ours));

    // A library's exception: the stack recorded when it was thrown names our function that caused it.
    const QString library = ErrorReport::reportText(caught(reachForTheTwelfthProblem));
    QVERIFY2(library.startsWith("Error: OutOfBoundsException\n"), qPrintable(library));
    QVERIFY2(library.contains("Sub reachForTheTwelfthProblem()"), qPrintable(library));
}

QTEST_GUILESS_MAIN(TestStackCleaner)
#include "tst_stackcleaner.moc"
