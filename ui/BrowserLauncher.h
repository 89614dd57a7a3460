#pragma once

#include <QObject>
#include <QString>

class MessageBoxes;

// Opens a page of the help in the desktop's web browser through the desktop's opener (xdg-open),
// and tells the player where the page is when no browser can show it: the opener is missing, or
// it ends with a failure because it found no browser or the browser it started failed. The opener
// runs on its own while the program goes on; its failure comes back as a message some moments
// later.
class BrowserLauncher : public QObject {
    Q_OBJECT

public:
    explicit BrowserLauncher(MessageBoxes* messages, QString opener = QStringLiteral("xdg-open"),
                             QObject* parent = nullptr);
    // An opener still running when the program ends is stopped; a browser it started goes on.
    ~BrowserLauncher() override;
    // `path` is the page's file; an empty path means the page was not found.
    void open(const QString& path);

signals:
    // The opener has ended, well or not; for tests and anyone who waits for it.
    void finished(bool opened);

private:
    void fail(const QString& path);

    MessageBoxes* messages_;
    QString opener_;
};
