#ifndef EBOOKREADERVIEWMGR_H
#define EBOOKREADERVIEWMGR_H

#include <QQuickView>
#include <memory>

class EBookReaderApp;
class Timeproperty;

// The one top-level view: builds every engine once, in a fixed order,
// publishes them to the screens and loads the top-level document.
class EBookReaderViewMgr : public QQuickView
{
    Q_OBJECT
    // The screen size as last measured by layoutChanged(). These replace the
    // window's own width and height for the screens and the meta-object.
    Q_PROPERTY(int width READ getWidth NOTIFY widthChanged)
    Q_PROPERTY(int height READ getHeight NOTIFY heightChanged)
public:
    EBookReaderViewMgr(EBookReaderApp *app, QWindow *parent);
    ~EBookReaderViewMgr() override;

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

    // Where the top-level document is looked for: beside the program's folder.
    static QString documentPath();

signals:
    void widthChanged();
    void heightChanged();

public slots:
    void layoutChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createEngines(EBookReaderApp *app);
    void loadDocument();

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Timeproperty> m_curTime;
};

#endif // EBOOKREADERVIEWMGR_H
