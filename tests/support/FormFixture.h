#pragma once

#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "preview/Unit2.h"
#include "system/FileSystem.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Fakes.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main window on fake services: scripted fonts and registry, a temporary font
// folder and documents folder, recorded font loads, shell opens and dialogs.
class FormFixture : public ::testing::Test, public FakeServices {
protected:
    void SetUp() override
    {
        fontFolder = folders.path() + "/fonts";
        documents = folders.path() + "/Documents";
        QDir().mkpath(fontFolder);
        QDir().mkpath(documents);
        shellFolders.documents = documents;
        shellFolders.fontFolder = fontFolder;
    }

    // Makes the windows; faces are reported in the given order.
    TForm1& start(const QStringList& faceNames = {"Alpha", "Beta", "Gamma"})
    {
        fonts.addFaces(faceNames);
        windows = createWindows(services());
        return *windows.form1;
    }

    // Keeps the print progress box's text as each job starts drawing its pages.
    void recordProgressTexts(TForm1& form, QStringList& shown)
    {
        printer.onDrawn = [&form, &shown](int page) {
            if (page != 1)
                return;
            QMetaObject::invokeMethod(
                &form,
                [&form, &shown] {
                    if (auto* box = form.findChild<QProgressDialog*>("PrintProgress"))
                        shown << box->labelText();
                },
                Qt::BlockingQueuedConnection);
        };
    }

    QTemporaryDir folders;
    QString fontFolder;
    QString documents;
    Windows windows;
};
