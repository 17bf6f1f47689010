// dates-converter: the converter window. It takes no command line.
//
// Start-up runs in this order: the engine's constants are set as the program
// loads; the services object is made; the application gets its title; the
// main window Form1 is created (its creation handler shows today's date).
// Closing the window ends the message loop; then the forms go (each frees its
// components newest first) and the modules finish in the reverse order.
#include "framework/Application.h"
#include "window/Hagri1.h"
#include "window/Resources.h"

#include <QApplication>
#include <QIcon>

namespace {

constexpr const char* DesktopId = "org.datesconverter.DatesConverter";

} // namespace

int main(int, char** argv)
{
    TApplication::PrepareEnvironment();
    // Only the program's name reaches Qt: no option on the command line changes the program.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication qt(qtArgc, qtArgv);
    QApplication::setOrganizationName("Dates Converter");
    QApplication::setOrganizationDomain("datesconverter.org");
    QApplication::setApplicationName("dates-converter");

    TApplication application;
    // The services object (ApplicationServices) is made here, before the title.
    Application->SetTitle("Dates Converter");
    Application->SetDesktopFileName(DesktopId);
    Application->SetIcon(LoadWindowBitmap("MainIcon").get());
    QApplication::setWindowIcon(QIcon(AppIconResource()));
    Application->CreateForm(&Form1);
    const int code = Application->Run();
    Application->DestroyForms();
    return code;
}
