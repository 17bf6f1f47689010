// The services module's start and finish. The program entry starts the
// modules in link order (the calendar engine, then this one) before it sets
// the title and creates the main window, and finishes them in reverse order
// after the forms are gone:
//
//     TApplication application;                 // Application and Screen
//     TServicesModule services;                 // ApplicationServices
//     Application->SetTitle("Dates Converter");
//     Application->CreateForm<TForm1>(&Form1);
//     Application->Run();
//     Application->DestroyForms();              // components freed newest first
//     // services, then application, finish as the entry returns
//
// Start and finish are counted: the first start makes ApplicationServices and
// the last finish frees it, so nested users share one object.
#pragma once

void StartServicesModule();
void FinishServicesModule();

// Starts the module for the scope that holds it.
class TServicesModule {
public:
    TServicesModule() { StartServicesModule(); }
    ~TServicesModule() { FinishServicesModule(); }
    TServicesModule(const TServicesModule&) = delete;
    TServicesModule& operator=(const TServicesModule&) = delete;
};
