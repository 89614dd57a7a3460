#include "PrintPreview.h"
#include "Prompter.h"
#include "ReportsFixture.h"
#include "SlipTestSheet.h"
#include "UnitEmi.h"
#include "UnitEmiA4.h"
#include "UnitRel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTimer>
#include <cmath>
#include <limits>
#include <signal.h>
#include <sys/prctl.h>

// Printing through a real CUPS: the test runs its own cupsd on a private configuration folder and
// socket, with queues whose printer descriptions declare 12 pt (4.23 mm) margins all round that the
// printer cannot print on, and a backend that keeps each job's PDF as the printer would receive it.
// A slip is printed the way the player prints it, from the preview's print button through the print
// dialog, and the spooled PDF is measured with PyMuPDF.

namespace {

constexpr double kPlace = 0.05;  // how far a mark may stand from its place, mm
constexpr double kExact = 0.001; // how exactly the calibration moves a mark, mm

QByteArray ppd(const char* model, const char* sizes) {
    return QByteArray(R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "QUINTEST.PPD"
*Manufacturer: "Quinabel"
*Product: "(Quinabel)"
*ModelName: ")PPD") +
           model + R"PPD("
*ShortNickName: ")PPD" +
           model + R"PPD("
*NickName: ")PPD" +
           model + R"PPD("
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter: "application/pdf 0 -"
)PPD" + sizes;
}

// A4 and the slip paper (82 x 140 mm = 232.44 x 396.85 pt), neither printable within 12 pt of an edge.
const QByteArray kSlipPrinter = ppd("Volantes 12 pt", R"PPD(*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Volante/Volante Mega-Sena: "<</PageSize[232.44 396.85]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Volante/Volante Mega-Sena: "<</PageSize[232.44 396.85]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*ImageableArea Volante/Volante Mega-Sena: "12 12 220.44 384.85"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Volante/Volante Mega-Sena: "232.44 396.85"
)PPD");

// An office printer: A4 and Letter only, no custom sizes.
const QByteArray kOfficePrinter = ppd("Escritorio 12 pt", R"PPD(*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 830"
*ImageableArea Letter/Letter: "12 12 600 780"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/Letter: "612 792"
)PPD");

// The backend: keep:/folder stores each job's document, as the printer would receive it, as
// /folder/job-N.pdf (written beside and renamed, so a file that is there is whole), and the copies
// the job asks the printer for as /folder/job-N.copies.
const QByteArray kKeepBackend = R"SH(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct keep "Unknown" "Keeps each job"'; exit 0; fi
dir="${DEVICE_URI#keep:}"
if [ $# -ge 6 ]; then cp "$6" "$dir/job-$1.part"; else cat > "$dir/job-$1.part"; fi
echo "$4" > "$dir/job-$1.copies"
mv "$dir/job-$1.part" "$dir/job-$1.pdf"
)SH";

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

class RecordingPrompter : public Prompter {
public:
    void inform(const Message& m) override { shown << m; }
    bool ask(const Message& m) override {
        shown << m;
        return false;
    }
    QList<Message> shown;
};

// A cupsd of the test's own: configuration, spool, logs and socket in one temporary folder.
class PrivateCups {
public:
    ~PrivateCups() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(10000))
                cupsd_.kill();
        }
    }

    QString socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }
    QString jobFolder(const QString& queue) const { return dir_.filePath(QStringLiteral("saida/") + queue); }
    QString log() const {
        QFile f(dir_.filePath(QStringLiteral("log/error_log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(4000)) : QString();
    }

    // Empty when the scheduler runs, otherwise what went wrong.
    QString start() {
        const QString cupsdProgram = QStringLiteral("/usr/sbin/cupsd");
        if (!QFileInfo::exists(cupsdProgram))
            return QStringLiteral("cupsd is not installed (scripts/install-dependencies.sh installs cups)");
        if (!dir_.isValid())
            return QStringLiteral("no temporary folder");
        const QString root = dir_.path();
        for (const char* sub :
             {"etc/ppd", "bin/backend", "bin/daemon", "spool/tmp", "cache", "state", "log", "saida"})
            QDir(root).mkpath(QLatin1String(sub));
        // cupsd starts every backend through its cups-exec helper; the filters are the system's.
        QFile::link(QStringLiteral("/usr/lib/cups/daemon/cups-exec"),
                    root + QStringLiteral("/bin/daemon/cups-exec"));
        if (QFileInfo::exists(QStringLiteral("/usr/lib/cups/filter")))
            QFile::link(QStringLiteral("/usr/lib/cups/filter"), root + QStringLiteral("/bin/filter"));
        const QString backend = root + QStringLiteral("/bin/backend/keep");
        // Owner-only, so that a cupsd running as root runs it as root and it can write the jobs.
        if (!writeFile(backend, kKeepBackend) ||
            !QFile::setPermissions(backend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return QStringLiteral("cannot write the backend");
        const QString conf =
            QStringLiteral("LogLevel debug\n"
                           "Listen %1\n"
                           "Browsing Off\n"
                           "WebInterface No\n"
                           "DefaultAuthType None\n"
                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                           "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                           "  </Limit>\n</Policy>\n")
                .arg(socket());
        const QString files = QStringLiteral("ServerRoot %1/etc\n"
                                             "ServerBin %1/bin\n"
                                             "DataDir /usr/share/cups\n"
                                             "DocumentRoot /usr/share/cups/doc-root\n"
                                             "RequestRoot %1/spool\n"
                                             "TempDir %1/spool/tmp\n"
                                             "CacheDir %1/cache\n"
                                             "StateDir %1/state\n"
                                             "AccessLog %1/log/access_log\n"
                                             "ErrorLog %1/log/error_log\n"
                                             "PageLog %1/log/page_log\n"
                                             "Printcap %1/state/printcap\n"
                                             "FileDevice No\n")
                                  .arg(root);
        if (!writeFile(root + QStringLiteral("/etc/cupsd.conf"), conf.toUtf8()) ||
            !writeFile(root + QStringLiteral("/etc/cups-files.conf"), files.toUtf8()))
            return QStringLiteral("cannot write the configuration");

        // Every CUPS client of this process and of its children talks to this server only.
        qputenv("CUPS_SERVER", socket().toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("HOME", root.toLocal8Bit()); // no ~/.cups/lpoptions of the machine's user

        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        // A test that crashes takes its scheduler with it.
        cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        cupsd_.setStandardOutputFile(root + QStringLiteral("/log/cupsd.out"));
        cupsd_.start(cupsdProgram,
                     {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/etc/cupsd.conf"),
                      QStringLiteral("-s"), root + QStringLiteral("/etc/cups-files.conf")});
        if (!cupsd_.waitForStarted(10000))
            return QStringLiteral("cupsd does not start: ") + cupsd_.errorString();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            if (cupsd_.state() == QProcess::NotRunning)
                return QStringLiteral("cupsd stopped: ") + log();
            if (QFileInfo::exists(socket()) &&
                client(QStringLiteral("lpstat"), {QStringLiteral("-r")}).isEmpty())
                return {};
            QTest::qWait(100);
        }
        return QStringLiteral("cupsd does not answer on ") + socket();
    }

    // Runs a CUPS client program against the private server: empty, or what went wrong.
    QString client(const QString& program, const QStringList& args, QString* output = nullptr) {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(30000))
            return program + QStringLiteral(" does not finish");
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        if (output)
            *output = out;
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
                   QString::fromLocal8Bit(p.readAllStandardError());
        return {};
    }

    QString addQueue(const QString& name, const QByteArray& description) {
        const QString ppdFile = dir_.filePath(name + QStringLiteral(".ppd"));
        QDir().mkpath(jobFolder(name));
        if (!writeFile(ppdFile, description))
            return QStringLiteral("cannot write ") + ppdFile;
        return client(QStringLiteral("lpadmin"),
                      {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                       QStringLiteral("keep:") + jobFolder(name), QStringLiteral("-P"), ppdFile});
    }

    QString makeDefault(const QString& name) {
        return client(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
    }

    QStringList jobs(const QString& queue) const {
        return QDir(jobFolder(queue)).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    // The newest job of `queue` once there are `count`, waiting for CUPS to spool it.
    QString waitForJob(const QString& queue, int count) const {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            const QStringList now = jobs(queue);
            if (now.size() >= count) {
                QStringList sorted = now;
                std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
                    return a.mid(4).chopped(4).toInt() < b.mid(4).chopped(4).toInt();
                });
                return QDir(jobFolder(queue)).filePath(sorted.last());
            }
            QTest::qWait(100);
        }
        return {};
    }

private:
    QTemporaryDir dir_;
    QProcess cupsd_;
};

// Prints from the player's preview: waits for the preview, presses its print button, and accepts
// the print dialog that opens, as the player would.
bool printFromPreview(const std::function<void()>& show,
                      const std::function<void(QPrintDialog*)>& choose = {}) {
    bool pressed = false;
    bool accepted = false;
    QTimer findPreview;
    findPreview.setInterval(50);
    QTimer findDialog;
    findDialog.setInterval(50);
    QObject::connect(&findDialog, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            findDialog.stop();
            accepted = true;
            if (choose)
                choose(dialog);
            dialog->accept();
        }
    });
    QObject::connect(&findPreview, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        findPreview.stop();
        const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (QAction* a : dialog->findChildren<QAction*>())
            if (a->text() == print) {
                pressed = true;
                findDialog.start();
                a->trigger();
                break;
            }
        if (!pressed)
            dialog->reject();
    });
    findPreview.start();
    show();
    return pressed && accepted;
}

struct Measured {
    QSizeF paper;
    QString title;
    std::vector<std::pair<QRectF, QColor>> boxes;
    std::vector<std::pair<QRectF, QString>> words;
};

Measured measure(const QString& pdf) {
    Measured m;
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    QProcess p;
    p.start(python, {QFINDTESTDATA("pdf_boxes.py"), pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("pdf_boxes.py: %s", p.readAllStandardError().constData());
        return m;
    }
    const QJsonObject doc = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    m.title = doc.value(QStringLiteral("title")).toString();
    const QJsonObject page = doc.value(QStringLiteral("pages")).toArray().at(0).toObject();
    m.paper = QSizeF(page.value(QStringLiteral("width")).toDouble(),
                     page.value(QStringLiteral("height")).toDouble());
    for (const QJsonValue& v : page.value(QStringLiteral("rects")).toArray()) {
        const QJsonObject r = v.toObject();
        const QJsonArray fill = r.value(QStringLiteral("fill")).toArray();
        m.boxes.emplace_back(
            QRectF(r.value(QStringLiteral("x")).toDouble(), r.value(QStringLiteral("y")).toDouble(),
                   r.value(QStringLiteral("w")).toDouble(), r.value(QStringLiteral("h")).toDouble()),
            QColor(fill.at(0).toInt(), fill.at(1).toInt(), fill.at(2).toInt()));
    }
    for (const QJsonValue& v : page.value(QStringLiteral("words")).toArray()) {
        const QJsonObject w = v.toObject();
        m.words.emplace_back(
            QRectF(
                QPointF(w.value(QStringLiteral("x")).toDouble(), w.value(QStringLiteral("y")).toDouble()),
                QPointF(w.value(QStringLiteral("x1")).toDouble(), w.value(QStringLiteral("y1")).toDouble())),
            w.value(QStringLiteral("text")).toString());
    }
    return m;
}

// The slips a PDF of makeSlips' slips holds, page by page: slip k shows the game numbers 3k − 2,
// 3k − 1 and 3k; 0 for a page that shows none of them.
std::vector<int> slipsOnPages(const QString& pdf) {
    std::vector<int> slips;
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    QProcess p;
    p.start(python, {QFINDTESTDATA("pdf_boxes.py"), pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("pdf_boxes.py: %s", p.readAllStandardError().constData());
        return slips;
    }
    const QJsonArray pages =
        QJsonDocument::fromJson(p.readAllStandardOutput()).object().value(QStringLiteral("pages")).toArray();
    for (const QJsonValue& page : pages) {
        QSet<QString> words;
        for (const QJsonValue& w : page.toObject().value(QStringLiteral("words")).toArray())
            words.insert(w.toObject().value(QStringLiteral("text")).toString());
        int found = 0;
        for (int k = 1; k <= 50 && !found; ++k)
            if (words.contains(QString::number(3 * k - 2)) && words.contains(QString::number(3 * k - 1)) &&
                words.contains(QString::number(3 * k)))
                found = k;
        slips.push_back(found);
    }
    return slips;
}

// Sets the print dialog's page range, copies and collation through its own controls, as the
// player does; false when a control is missing.
bool choosePagesAndCopies(QPrintDialog* dialog, int from, int to, int copies, bool collate) {
    auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
    auto* fromBox = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
    auto* toBox = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
    auto* copiesBox = dialog->findChild<QSpinBox*>(QStringLiteral("copies"));
    auto* collateBox = dialog->findChild<QCheckBox*>(QStringLiteral("collate"));
    if (!range || !fromBox || !toBox || !copiesBox || !collateBox) {
        QStringList names;
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if (!w->objectName().isEmpty())
                names << w->objectName() + QLatin1Char(':') + QLatin1String(w->metaObject()->className());
        qWarning("print dialog controls: %s", qPrintable(names.join(QLatin1Char(' '))));
        return false;
    }
    range->setChecked(true);
    toBox->setValue(to); // "to" first: "from" cannot pass it
    fromBox->setValue(from);
    toBox->setValue(to);
    copiesBox->setValue(copies);
    collateBox->setChecked(collate);
    return true;
}

// The filled box of the given size standing nearest to `want`, or an empty one.
std::pair<QRectF, QColor> nearestBox(const Measured& m, const QRectF& want) {
    std::pair<QRectF, QColor> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (const auto& [r, c] : m.boxes) {
        if (std::abs(r.width() - want.width()) > kPlace || std::abs(r.height() - want.height()) > kPlace)
            continue;
        const double d = std::hypot(r.left() - want.left(), r.top() - want.top());
        if (d < bestDistance) {
            bestDistance = d;
            best = {r, c};
        }
    }
    return best;
}

QStringList markNames() {
    QStringList names;
    for (int b = 1; b <= 3; ++b)
        for (int n = 1; n <= 60; ++n)
            names << QStringLiteral("d%1%2").arg(b).arg(n);
    for (int s = 6; s <= 15; ++s)
        names << QStringLiteral("a%1").arg(s);
    names << QStringLiteral("t2") << QStringLiteral("t4") << QStringLiteral("t8");
    return names;
}

std::unique_ptr<Table> oneSlip(const WorkFolder& folder, int firstGame) {
    auto t = makeSlips(folder, 1);
    t->first();
    t->edit();
    t->setInteger(t->fieldIndex(u"J1"), firstGame);
    t->post();
    return t;
}

} // namespace

class TestCupsPrinting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void slipPrintsFromThePapersCorner_data();
    void slipPrintsFromThePapersCorner();
    void printerWithoutTheSlipPaperPrintsNothing();
    void testSheetPrintsAtTheCalibratedPlace();
    void printToFileFromTheDialogKeepsThePapersCorner();
    void listingStandsWhereItsLayoutPutsIt();
    void printsThePagesAndCopiesAsked_data();
    void printsThePagesAndCopiesAsked();
    void aRangeBeyondTheReportPrintsNothing();

private:
    PrivateCups cups_;
};

void TestCupsPrinting::initTestCase() {
    const QString problem = cups_.start();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QString added = cups_.addQueue(QStringLiteral("Volantes"), kSlipPrinter);
    QVERIFY2(added.isEmpty(), qPrintable(added));
    added = cups_.addQueue(QStringLiteral("Escritorio"), kOfficePrinter);
    QVERIFY2(added.isEmpty(), qPrintable(added));
}

void TestCupsPrinting::slipPrintsFromThePapersCorner_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QPointF>("slipCorner");
    QTest::addColumn<QString>("title");
    QTest::newRow("slip paper") << "paper" << QSizeF(82, 140) << QPointF(0, 0) << "Volantes";
    QTest::newRow("A4") << "A4" << QSizeF(210, 297) << QPointF(20, 0) << "Volantes em A4";
}

// Every mark of the slip (three set: d11, a15, t8) and the first game-number box stand within
// 0.05 mm of their places measured from the paper's corner, though the printer cannot print within
// 4.23 mm of the edges; a seven-digit game number stays in its box; the calibration offsets move
// every mark by exactly the offset.
void TestCupsPrinting::slipPrintsFromThePapersCorner() {
    QFETCH(QString, layout);
    QFETCH(QSizeF, paper);
    QFETCH(QPointF, slipCorner);
    QFETCH(QString, title);
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");

    WorkFolder folder;
    auto slips = oneSlip(folder, 1234567);
    std::unique_ptr<SlipLayout> slip;
    if (layout == QLatin1String("A4"))
        slip = std::make_unique<TFormEmiA4>();
    else
        slip = std::make_unique<TFormEmi>();
    SlipMarks marks;
    marks.numbers[0][0] = true; // d11
    marks.sizes[9] = true;      // a15
    marks.t8 = true;
    slip->applySlipMarks(marks);

    RecordingPrompter prompter;
    const QPointF offsets[] = {QPointF(0, 0), QPointF(-0.8, 1.1)};
    std::vector<Measured> jobs;
    for (const QPointF& offset : offsets) {
        slip->layout().page().offset = offset;
        PrintPreview preview(nullptr, &prompter);
        const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
        QVERIFY(printFromPreview([&] { preview.preview(slip->layout(), *slips); }));
        const QString job = cups_.waitForJob(QStringLiteral("Volantes"), before + 1);
        QVERIFY2(!job.isEmpty(), qPrintable(QStringLiteral("no job spooled; cupsd log:\n") + cups_.log()));
        jobs.push_back(measure(job));
    }
    QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.shown.value(0).text));

    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const Measured& m = jobs[j];
        const QPointF origin = slipCorner + offsets[j];
        QCOMPARE(m.title, title);
        QVERIFY2(std::abs(m.paper.width() - paper.width()) < 0.5 &&
                     std::abs(m.paper.height() - paper.height()) < 0.5,
                 qPrintable(QStringLiteral("page of %1 x %2 mm").arg(m.paper.width()).arg(m.paper.height())));
        for (const QString& name : markNames()) {
            const QRectF want = slip->layout().element(name).rect.translated(origin);
            const auto [got, fill] = nearestBox(m, want);
            const bool set =
                name == QLatin1String("d11") || name == QLatin1String("a15") || name == QLatin1String("t8");
            if (std::abs(got.left() - want.left()) > kPlace || std::abs(got.top() - want.top()) > kPlace ||
                fill != (set ? QColor(Qt::black) : QColor(Qt::white)))
                QFAIL(qPrintable(QStringLiteral("%1 stands at %2 / %3 mm (%4), not at %5 / %6")
                                     .arg(name)
                                     .arg(got.left(), 0, 'f', 3)
                                     .arg(got.top(), 0, 'f', 3)
                                     .arg(fill.name(), QString::number(want.left(), 'f', 3),
                                          QString::number(want.top(), 'f', 3))));
            if (j > 0) { // the calibrated job: every mark moved by exactly the offset
                const QRectF before =
                    nearestBox(jobs[0], slip->layout().element(name).rect.translated(slipCorner)).first;
                const QPointF moved = got.topLeft() - before.topLeft();
                if (std::abs(moved.x() - offsets[j].x()) > kExact ||
                    std::abs(moved.y() - offsets[j].y()) > kExact)
                    QFAIL(qPrintable(
                        QStringLiteral("%1 moved by %2 / %3 mm").arg(name).arg(moved.x()).arg(moved.y())));
            }
        }
        const QRectF numberBox = slip->layout().element(u"RDBText2").rect.translated(origin);
        const QRectF gotBox = nearestBox(m, numberBox).first;
        QVERIFY2(
            std::abs(gotBox.left() - numberBox.left()) <= kPlace &&
                std::abs(gotBox.top() - numberBox.top()) <= kPlace,
            qPrintable(QStringLiteral("game-number box at %1 / %2").arg(gotBox.left()).arg(gotBox.top())));
        bool found = false;
        for (const auto& [box, text] : m.words)
            if (text == QLatin1String("1234567")) {
                found = true;
                QVERIFY2(numberBox.adjusted(-kPlace, -kPlace, kPlace, kPlace).contains(box),
                         qPrintable(QStringLiteral("1234567 inks %1 / %2 to %3 / %4")
                                        .arg(box.left())
                                        .arg(box.top())
                                        .arg(box.right())
                                        .arg(box.bottom())));
            }
        if (!found) {
            QStringList words;
            for (const auto& [box, text] : m.words)
                words << QStringLiteral("%1 at %2 / %3").arg(text).arg(box.left()).arg(box.top());
            QFAIL(qPrintable(QStringLiteral("no 1234567 among: ") + words.join(QStringLiteral(", "))));
        }
    }
}

// An office printer without the slip paper: the player is told, and no job reaches the printer;
// the same printer takes the A4 slips.
void TestCupsPrinting::printerWithoutTheSlipPaperPrintsNothing() {
    QVERIFY2(cups_.makeDefault(QStringLiteral("Escritorio")).isEmpty(), "lpadmin -d");
    WorkFolder folder;
    auto slips = oneSlip(folder, 1);
    RecordingPrompter prompter;

    TFormEmi paper;
    {
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.preview(paper.layout(), *slips); }));
    }
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text,
             QStringLiteral(
                 "A impressora \"Escritorio\" não aceita o papel \"Volante Mega-Sena\" (82 × 140 mm). Nada "
                 "foi impresso: escolha uma impressora que aceite esse tamanho de papel."));
    QTest::qWait(1000);
    QVERIFY(cups_.jobs(QStringLiteral("Escritorio")).isEmpty());
    QString queued;
    QVERIFY(cups_
                .client(QStringLiteral("lpstat"),
                        {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"),
                         QStringLiteral("Escritorio")},
                        &queued)
                .isEmpty());
    QCOMPARE(queued.trimmed(), QString());

    TFormEmiA4 a4;
    {
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.preview(a4.layout(), *slips); }));
    }
    QCOMPARE(prompter.shown.size(), 1);
    const QString job = cups_.waitForJob(QStringLiteral("Escritorio"), 1);
    QVERIFY2(!job.isEmpty(), qPrintable(cups_.log()));
    QCOMPARE(measure(job).title, QStringLiteral("Volantes em A4"));
}

// The test sheet prints from its preview on the slip paper, its boxes' frames where the slip's
// marks print, moved by the offsets.
void TestCupsPrinting::testSheetPrintsAtTheCalibratedPlace() {
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");
    TFormEmi slip;
    const QPointF offset(0.6, -0.4);
    const ReportLayout sheet = SlipTestSheet(slip, offset, QStringLiteral("do volante"));
    RecordingPrompter prompter;
    const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
    {
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.previewSheet(sheet); }));
    }
    const QString job = cups_.waitForJob(QStringLiteral("Volantes"), before + 1);
    QVERIFY2(!job.isEmpty(), qPrintable(cups_.log()));
    const Measured m = measure(job);
    QCOMPARE(m.title, QStringLiteral("Folha de teste do volante"));
    QVERIFY(std::abs(m.paper.width() - 82) < 0.5 && std::abs(m.paper.height() - 140) < 0.5);
    for (const char* name : {"d11", "d360", "a15", "t8"}) {
        const QRectF mark = slip.layout().element(QString::fromLatin1(name)).rect.translated(offset);
        // The frame's left side: a thin filled strip as tall as the box.
        const QRectF side = nearestBox(m, QRectF(mark.topLeft(), QSizeF(0.15, mark.height()))).first;
        QVERIFY2(std::abs(side.left() - mark.left()) <= kPlace && std::abs(side.top() - mark.top()) <= kPlace,
                 qPrintable(QStringLiteral("%1 framed at %2 / %3")
                                .arg(QLatin1String(name))
                                .arg(side.left())
                                .arg(side.top())));
    }
    QVERIFY(prompter.shown.isEmpty());
}

// The player chooses "print to file" in the print dialog while the printer with margins is the
// default: the PDF too has every mark in its place from the paper's corner.
void TestCupsPrinting::printToFileFromTheDialogKeepsThePapersCorner() {
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");
    WorkFolder folder;
    auto slips = oneSlip(folder, 1);
    TFormEmi slip;
    SlipMarks marks;
    marks.numbers[2][59] = true; // d360
    slip.applySlipMarks(marks);
    const QString path = folder.file(QStringLiteral("volantes.pdf"));
    const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
    bool chosen = false;
    {
        RecordingPrompter prompter;
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.preview(slip.layout(), *slips); },
                                 [&](QPrintDialog* dialog) {
                                     auto* printers =
                                         dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                                     auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
                                     if (!printers || !file)
                                         return;
                                     printers->setCurrentIndex(printers->count() - 1); // print to file (PDF)
                                     file->setText(path);
                                     chosen = true;
                                 }));
        QVERIFY(prompter.shown.isEmpty());
    }
    QVERIFY(chosen);
    QVERIFY(QFile::exists(path));
    QTest::qWait(500);
    QCOMPARE(static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size()), before);
    const Measured m = measure(path);
    QCOMPARE(m.title, QStringLiteral("Volantes"));
    QVERIFY(std::abs(m.paper.width() - 82) < 0.5 && std::abs(m.paper.height() - 140) < 0.5);
    for (const char* name : {"d11", "d360", "a15", "t2"}) {
        const QRectF want = slip.layout().element(QString::fromLatin1(name)).rect;
        const QRectF got = nearestBox(m, want).first;
        QVERIFY2(
            std::abs(got.left() - want.left()) <= kPlace && std::abs(got.top() - want.top()) <= kPlace,
            qPrintable(
                QStringLiteral("%1 at %2 / %3").arg(QLatin1String(name)).arg(got.left()).arg(got.top())));
    }
}

// The games listing on A4 goes through the same page set-up: its framed title band stands at its
// 10 mm margins from the paper's corner, not 4.23 mm further in.
void TestCupsPrinting::listingStandsWhereItsLayoutPutsIt() {
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");
    WorkFolder folder;
    auto lines = makeListing(folder, 3);
    TFormRel listing;
    const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
    {
        RecordingPrompter prompter;
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.preview(listing.layout(), *lines); }));
    }
    const QString job = cups_.waitForJob(QStringLiteral("Volantes"), before + 1);
    QVERIFY2(!job.isEmpty(), qPrintable(cups_.log()));
    const Measured m = measure(job);
    QCOMPARE(m.title, QStringLiteral("Relação dos jogos"));
    QVERIFY(std::abs(m.paper.width() - 210) < 0.5 && std::abs(m.paper.height() - 297) < 0.5);
    const double thick = listing.layout().titleBand().frameWidth;
    const QRectF left = nearestBox(m, QRectF(10, 10, thick, 17.46)).first;
    QVERIFY2(std::abs(left.left() - 10) <= kPlace && std::abs(left.top() - 10) <= kPlace,
             qPrintable(QStringLiteral("title frame at %1 / %2").arg(left.left()).arg(left.top())));
    bool found = false;
    for (const auto& [box, text] : m.words)
        if (text == QLatin1String("Quinabel")) {
            found = true;
            QVERIFY2(std::abs(box.left() - 12.12) < 0.3,
                     qPrintable(QStringLiteral("Quinabel at %1 / %2").arg(box.left()).arg(box.top())));
        }
    QVERIFY(found);
}

void TestCupsPrinting::printsThePagesAndCopiesAsked_data() {
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<std::vector<int>>("slips"); // the slips the printer puts on paper, in order
    QTest::newRow("printer, pages 2 to 3") << false << 2 << 3 << 1 << false << std::vector<int>{2, 3};
    QTest::newRow("printer, page 1 only") << false << 1 << 1 << 1 << false << std::vector<int>{1};
    QTest::newRow("printer, pages 4 to 5, 2 copies")
        << false << 4 << 5 << 2 << true << std::vector<int>{4, 5, 4, 5};
    QTest::newRow("file, pages 2 to 3") << true << 2 << 3 << 1 << false << std::vector<int>{2, 3};
    QTest::newRow("file, pages 2 to 3, 2 copies collated")
        << true << 2 << 3 << 2 << true << std::vector<int>{2, 3, 2, 3};
    QTest::newRow("file, pages 2 to 3, 2 copies uncollated")
        << true << 2 << 3 << 2 << false << std::vector<int>{2, 2, 3, 3};
}

// Five slips in the preview, a page range and copies in the print dialog: the printer receives
// exactly those pages (and makes the copies it is asked for), the file holds exactly those pages
// that many times.
void TestCupsPrinting::printsThePagesAndCopiesAsked() {
    QFETCH(bool, toFile);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(std::vector<int>, slips);
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");
    WorkFolder folder;
    auto table = makeSlips(folder, 5);
    TFormEmi slip;
    const QString path = folder.file(QStringLiteral("paginas.pdf"));
    const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
    bool chosen = false;
    RecordingPrompter prompter;
    {
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview([&] { preview.preview(slip.layout(), *table); },
                                 [&](QPrintDialog* dialog) {
                                     if (toFile) {
                                         auto* printers =
                                             dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                                         auto* file =
                                             dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
                                         if (!printers || !file)
                                             return;
                                         printers->setCurrentIndex(printers->count() - 1);
                                         file->setText(path);
                                     }
                                     chosen = choosePagesAndCopies(dialog, from, to, copies, collate);
                                 }));
    }
    QVERIFY(chosen);
    QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.shown.value(0).text));
    std::vector<int> printed;
    if (toFile) {
        QVERIFY(QFile::exists(path));
        printed = slipsOnPages(path);
    } else {
        const QString job = cups_.waitForJob(QStringLiteral("Volantes"), before + 1);
        QVERIFY2(!job.isEmpty(), qPrintable(cups_.log()));
        QFile copiesFile(job.chopped(4) + QStringLiteral(".copies"));
        QVERIFY(copiesFile.open(QIODevice::ReadOnly));
        const int jobCopies = QString::fromLatin1(copiesFile.readAll()).trimmed().toInt();
        const std::vector<int> inJob = slipsOnPages(job);
        QVERIFY2(jobCopies >= 1, qPrintable(QString::number(jobCopies)));
        QVERIFY2(!inJob.empty(), qPrintable(job));
        // The printer makes the job's copies of the document it receives.
        for (int c = 0; c < jobCopies; ++c)
            printed.insert(printed.end(), inJob.begin(), inJob.end());
    }
    QCOMPARE(printed, slips);
}

// A range past the last page: the player is told, and nothing is printed.
void TestCupsPrinting::aRangeBeyondTheReportPrintsNothing() {
    QVERIFY2(cups_.makeDefault(QStringLiteral("Volantes")).isEmpty(), "lpadmin -d");
    WorkFolder folder;
    auto table = makeSlips(folder, 2);
    TFormEmi slip;
    const int before = static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size());
    RecordingPrompter prompter;
    bool chosen = false;
    {
        PrintPreview preview(nullptr, &prompter);
        QVERIFY(printFromPreview(
            [&] { preview.preview(slip.layout(), *table); },
            [&](QPrintDialog* dialog) { chosen = choosePagesAndCopies(dialog, 5, 7, 1, false); }));
    }
    QVERIFY(chosen);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text,
             QStringLiteral(
                 "Nenhuma das páginas pedidas existe: o relatório tem 2 página(s). Nada foi impresso."));
    QTest::qWait(1000);
    QCOMPARE(static_cast<int>(cups_.jobs(QStringLiteral("Volantes")).size()), before);
}

QUINABEL_GUI_TEST_MAIN(TestCupsPrinting)
#include "tst_cups_printing.moc"
