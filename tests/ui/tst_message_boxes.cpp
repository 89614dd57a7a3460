#include "MenuFixture.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// The questions as the player answers them with the keyboard: Enter answers Yes to the questions
// that go forward and No to the ones that destroy something.
class MessageBoxesTest : public QObject {
    Q_OBJECT

    // Presses Enter in the next message box that opens; answers its title.
    static void pressEnterInTheNextBox(QString* title) {
        QTimer::singleShot(10, [title] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                pressEnterInTheNextBox(title);
                return;
            }
            *title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Return);
        });
    }

private slots:
    // The real message box: Enter takes the question's default answer.
    void enterTakesTheDefaultAnswer_data() {
        QTest::addColumn<bool>("yesByDefault");
        QTest::newRow("a question that goes forward") << true;
        QTest::newRow("a question that destroys") << false;
    }
    void enterTakesTheDefaultAnswer() {
        QFETCH(bool, yesByDefault);
        QtMessageBoxes boxes;
        QString title;
        pressEnterInTheNextBox(&title);
        const bool yes = boxes.ask({QStringLiteral("Pergunta"), QStringLiteral("Segue? "), yesByDefault});
        QCOMPARE(title, QStringLiteral("Pergunta"));
        QCOMPARE(yes, yesByDefault);
    }

    // Every question of the window says which answer Enter gives.
    void eachQuestionGoesForwardOrNot() {
        MenuFixture f;
        {
            Tables t(f.folder.path());
            t.TableRes.create();
            t.TableRes.insert();
            const int draw[7] = {2500, 1, 2, 3, 4, 5, 6};
            for (int i = 0; i < 7; ++i)
                t.TableRes.setInteger(i, draw[i]);
            t.TableRes.post();
            QVERIFY(t.closeAll().isEmpty());
        }
        f.start();
        // Some games to delete.
        MenuFixture::press(f.find<QPushButton>("ButtonGera"), Qt::LeftButton);
        MenuFixture::press(f.find<QWidget>("RBAlea"), Qt::LeftButton);
        for (const auto& [name, text] : {std::pair{"EditDezJogo", "6"}, std::pair{"EditQuant", "3"}}) {
            auto* e = f.find<QLineEdit>(name);
            QTest::mouseClick(e, Qt::LeftButton);
            QTest::keyClicks(e, QString::fromLatin1(text));
        }
        MenuFixture::press(f.find<QPushButton>("ButtonOKAlea"), Qt::LeftButton);

        MenuFixture::press(f.find<QPushButton>("ButtonIns"), Qt::LeftButton);
        auto* conc = f.find<QLineEdit>("EditConc");
        conc->setFocus(Qt::TabFocusReason);
        conc->selectAll();
        QTest::keyClicks(conc, QStringLiteral("2501"));
        QTest::keyClick(conc, Qt::Key_Return);
        MenuFixture::press(f.find<QPushButton>("ButtonExclui"), Qt::LeftButton);
        MenuFixture::press(f.find<QPushButton>("ButtonDelJogo"), Qt::LeftButton);
        MenuFixture::press(f.find<QPushButton>("ButtonLimpa"), Qt::LeftButton);

        QStringList answers;
        for (const ScriptedMessageBoxes::Shown& s : f.messages.shown())
            if (s.yesNo)
                answers << s.text + (s.yesByDefault ? QStringLiteral("=Yes") : QStringLiteral("=No"));
        QCOMPARE(answers, (QStringList{QStringLiteral("Concurso não cadastrado. Cadastra? =Yes"),
                                       QStringLiteral("Deleta mesmo este concurso? =No"),
                                       QStringLiteral("Deleta mesmo o jogo marcado? =No"),
                                       QStringLiteral("Limpa mesmo todas as dezenas desprezadas? =No"),
                                       QStringLiteral("Limpa a lista de jogos? =No")}));
    }
};

QUINABEL_GUI_TEST_MAIN(MessageBoxesTest)
#include "tst_message_boxes.moc"
