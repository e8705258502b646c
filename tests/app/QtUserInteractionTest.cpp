#include "app/QtUserInteraction.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Acts on the next modal window of type T once it is shown; the dialog under test is
// running its own event loop by then.
template <typename T>
void WhenModal(std::function<void(T*)> act)
{
    auto* timer = new QTimer(qApp); // owned by the application if never reached
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

TEST(QtUserInteraction, MessageBoxAnswersWithTheButtonPressed)
{
    struct Case
    {
        MessageButtons buttons;
        QString press; // empty: the Escape key
        MessageAnswer expected;
    };
    const Case cases[] = {
        {MessageButtons::Ok, u"OK"_qs, MessageAnswer::Ok},
        {MessageButtons::Ok, QString(), MessageAnswer::Ok},
        {MessageButtons::OkCancel, u"キャンセル"_qs, MessageAnswer::Cancel},
        {MessageButtons::OkCancel, QString(), MessageAnswer::Cancel},
        {MessageButtons::YesNo, u"はい(&Y)"_qs, MessageAnswer::Yes},
        {MessageButtons::YesNo, QString(), MessageAnswer::No},
        {MessageButtons::YesNoCancel, u"いいえ(&N)"_qs, MessageAnswer::No},
        {MessageButtons::YesNoCancel, QString(), MessageAnswer::Cancel},
    };
    CQtUserInteraction ui(nullptr);
    for (const Case& c : cases) {
        QString title;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            if (c.press.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QAbstractButton* button = ButtonWithText(box, c.press))
                button->click();
            else
                box->reject();
        });
        const MessageAnswer answer = ui.MessageBox(u"<b>a.csv</b>"_qs, QString(), MessageIcon::Question, c.buttons);
        EXPECT_EQ(answer, c.expected) << c.press.toStdString();
        EXPECT_EQ(title, u"Vantrel"_qs);
        EXPECT_EQ(text, u"<b>a.csv</b>"_qs);
        EXPECT_EQ(format, Qt::PlainText);
    }
}

TEST(QtUserInteraction, SaveChooserAddsExtensionAndAsksBeforeOverwriting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile existing(dir.filePath(u"old.vnx"_qs));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    FileDialogRequest request;
    request.filter = u"Vantrel(*.vnx)|*.vnx||"_qs;
    request.title = u"退避するファイルを指定してください"_qs;
    request.defaultExtension = u"vnx"_qs;
    request.initialName = dir.filePath(u"*.vnx"_qs);
    request.flags = FileDialogOverwritePrompt | FileDialogPathMustExist;

    CQtUserInteraction ui(nullptr);
    QStringList questions;
    bool stayedOpen = false;
    WhenModal<QFileDialog>([&](QFileDialog* chooser) {
        EXPECT_EQ(chooser->windowTitle(), request.title);
        EXPECT_EQ(chooser->nameFilters(), QStringList(u"Vantrel(*.vnx)"_qs));
        EXPECT_TRUE(chooser->selectedFiles().isEmpty() || QFileInfo(chooser->selectedFiles().first()).isDir());
        chooser->selectFile(u"old"_qs);
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            questions.append(box->text());
            ButtonWithText(box, u"いいえ(&N)"_qs)->click();
        });
        static_cast<QDialog*>(chooser)->accept();
        stayedOpen = chooser->isVisible();
        chooser->selectFile(u"old"_qs);
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            questions.append(box->text());
            ButtonWithText(box, u"はい(&Y)"_qs)->click();
        });
        static_cast<QDialog*>(chooser)->accept();
    });
    EXPECT_EQ(ui.SaveFile(request), std::optional<QString>(dir.filePath(u"old.vnx"_qs)));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(questions, QStringList(2, u"old.vnx は既に存在します。\n上書きしますか?"_qs));

    // A new name is taken without a question, in the folder chosen last.
    request.initialName = u"*.vnx"_qs;
    WhenModal<QFileDialog>([&](QFileDialog* chooser) {
        chooser->selectFile(u"fresh"_qs);
        static_cast<QDialog*>(chooser)->accept();
    });
    EXPECT_EQ(ui.SaveFile(request), std::optional<QString>(dir.filePath(u"fresh.vnx"_qs)));
}
