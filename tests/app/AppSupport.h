#pragma once

#include "app/ChildFrame.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/VantrelApp.h"
#include "model/VantrelDoc.h"
#include "platform/UserInteraction.h"
#include "tests/support/TestSupport.h"

#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The application on a scripted interaction, with its settings and data folder in a
// temporary folder of its own.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path(QStringLiteral("config")));
    }

    void TearDown() override { m_app.reset(); }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString DataFolder() const { return Path(QStringLiteral("Data")); }

    CVantrelApp& Start(const QStringList& files = {}, bool show = false)
    {
        m_app = std::make_unique<CVantrelApp>(&m_ui);
        CVantrelApp::COptions options;
        options.m_dataFolder = DataFolder();
        options.m_files = files;
        options.m_show = show;
        EXPECT_TRUE(m_app->InitInstance(options));
        return *m_app;
    }

    QString MakePicture(const QString& name = QStringLiteral("picture.bmp"), int w = 160, int h = 90)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = Path(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    // A new document on a fresh picture, through the real command path.
    CDocEntry* NewDocument(int templateIndex)
    {
        m_ui.fileAnswers.push_back(MakePicture());
        return m_app->Docs().NewDocument(templateIndex);
    }

    QTemporaryDir m_dir;
    CScriptedInteraction m_ui;
    std::unique_ptr<CVantrelApp> m_app;
};
