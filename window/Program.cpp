// Start-up runs in this order: the engine's constants are set as the program
// loads; the services object is made; the application gets its title; the
// main window Form1 is created (its creation handler shows today's date).
// Closing the window ends the message loop; then the forms go (each frees its
// components newest first) and the modules finish in the reverse order.
#include "window/Program.h"

#include "framework/controls/Application.h"
#include "services/ServicesModule.h"
#include "window/Hagri1.h"
#include "window/Resources.h"

#include <QApplication>
#include <QIcon>

namespace {

constexpr const char* DesktopId = "org.datesconverter.DatesConverter";

} // namespace

int RunConverter(char* programName, const std::function<void()>& started)
{
    TApplication::PrepareEnvironment();
    // Only the program's name reaches Qt: nothing on the command line changes the program.
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication qt(qtArgc, qtArgv);
    QApplication::setOrganizationName("Dates Converter");
    QApplication::setOrganizationDomain("datesconverter.org");
    QApplication::setApplicationName("dates-converter");

    TApplication application;
    TServicesModule services; // ApplicationServices, before the title; it goes after the forms
    Application->SetTitle("Dates Converter");
    Application->SetDesktopFileName(DesktopId);
    Application->SetIcon(LoadWindowBitmap("MainIcon").get()); // the caption's small icon
    QApplication::setWindowIcon(QIcon(AppIconResource()));  // the desktop's larger one
    Application->CreateForm(&Form1);
    if (started)
        started();
    const int code = Application->Run();
    Application->DestroyForms();
    return code;
}
