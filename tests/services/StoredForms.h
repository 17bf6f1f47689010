// What the tests of a form's stored placement share: a form with a
// profile-file store of its own and the form component, a temporary folder
// for the files beside a screen of known size, and a file read back whole.
#pragma once

#include "services/FxForm.h"
#include "services/FxIniCtrl.h"

#include "framework/controls/Forms.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

// A form at 100,80, 400 by 300, whose profile-file store writes file.
class TFormWithStore : public TForm {
public:
    TFxIniCtrl* Store = nullptr;
    TFxForm* Fx = nullptr;

protected:
    // Starts loading the form, with its store.
    explicit TFormWithStore(const std::string& file);
    // Ends loading with the form component on the store (the form's one
    // store, which it finds itself). Called from the form class's own
    // constructor: the component names its record after the class it sees
    // there, unless key names it.
    void AddComponent(TFxIniUse use, const std::string& key = {});
};

// A temporary folder for the test's files, and a 1024 by 768 screen.
class StoredFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Folder() const { return folder_.path().toStdString(); }

private:
    QTemporaryDir folder_;
};

// The file's bytes; empty when it cannot be read.
std::string ReadAll(const std::string& path);
