#pragma once

#include "print/print_settings.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QScrollArea;
class QToolButton;

namespace livrax::print {

class PageImageSurface;

class PrintJob;

// Draws one report on the job it is given: startJob, the layout commands and
// endJob. The job's fields (destination, titles, fonts, margins, range) are
// set by the caller before, so the same function can draw the report again
// on another job (a PDF file, the printer).
using ReportFunction = std::function<void(PrintJob&)>;

// The preview window: the visible side of a print job. While the job runs it
// shows the progress panel with its Cancel button and processes the user's
// events after every page; when a preview ends it shows the saved page
// images one at a time, with zoom, page navigation, printing again, saving
// as PDF, the word-processor export and e-mail.
class TF_PRINT : public QDialog {
    Q_OBJECT

  public:
    // The window hooks itself into the job's onPage (calling the hook the job
    // already had first) and gives the previous hook back when it is freed.
    explicit TF_PRINT(PrintJob& job, QWidget* parent = nullptr);
    ~TF_PRINT() override;

    PrintJob& job() const { return m_job; }

    // Shows the window with the progress panel, draws the report on the job
    // and hands the result on by destination: "V" stays as a viewer; "K"
    // shows the pages, opens the e-mail window with them attached and closes
    // once it is done; "T" shows the text in the text editor, then the window
    // closes; the others ("P", "E", "W", "F") close
    // the window.
    void run(const ReportFunction& report);
    // The two halves of run() for a caller that draws on the job itself:
    // begin() shows the progress panel, end() hands the result on. Without a
    // report function, BU_PDF makes the PDF of the page images.
    void begin();
    void end();
    // A job is being drawn.
    bool isRunning() const { return m_running; }
    // The job has ended and the window shows its pages until the user leaves.
    bool isViewing() const { return m_viewing; }
    // The number of the page image shown; 0 before any.
    int shownPage() const { return m_shownPage; }

    // The action of BU_REPRINT. Without one, the button draws the report
    // given to run() again on the printer.
    void setReprintAction(std::function<void()> action);
    // The file BU_PDF writes; empty (the default): the user is asked.
    void setPdfFileName(const QString& fileName) { m_pdfFileName = fileName; }

    // The user's commands, also reachable through the controls.
    void leave();
    void cancelJob();
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void zoomNormal();
    void saveAsPdf();
    void exportToWordProcessor();
    void sendByEmail();
    void reprint();

    void reject() override;
    void done(int result) override;

  private:
    void buildTools(QWidget* panel);
    void buildMenu(QMenuBar* menu);
    void pageFinished();
    void finishRun();
    void showPages();
    // Whether the job's destination leaves page images to show.
    bool hasPageImages() const;
    // The job's recorded pages, when it has them.
    const PageImageSurface* recordedPages() const;
    // Draws the page shown at the size the zoom gives it.
    void drawShownPage();
    void pageNumberChanged(const QString& text);
    // E_INC as a number; false (after the error box) when it is not one.
    bool typedPage(int& value);
    void setPageNumberText(int value);
    void applyZoom();
    void showRange(int last);
    void writePdfByReport(const QString& fileName);
    void writePdfFromImages(const QString& fileName) const;
    void runSideJob(Destination destination, const QString& outputFile);
    QSize zoomedSize() const;
    // The first page of the range, at least 1.
    int shownFirstPage() const;

    PrintJob& m_job;
    std::function<void(PrintJob&)> m_previousOnPage;
    ReportFunction m_report;
    std::function<void()> m_reprintAction;
    // The settings as the caller set them before the run, for drawing the
    // report again.
    PrintSettings m_settings;
    // The page image's size once zoomed; until then the preview page's.
    std::optional<QSize> m_zoomed;
    QString m_pdfFileName;
    bool m_running = false;
    bool m_viewing = false;
    bool m_closeAfterRun = false;
    int m_shownPage = 0;

    QLineEdit* m_pageNumber = nullptr;
    QLabel* m_range = nullptr;
    QToolButton* m_normalButton = nullptr; // pressed while the page is at 100%
    QLabel* m_zoomLabel = nullptr;         // the zoom in force, as "110%"
    QWidget* m_paper = nullptr;            // the sheet around the page image
    QLabel* m_image = nullptr;
    QScrollArea* m_scroll = nullptr;
    QFrame* m_progress = nullptr;
    QLabel* m_progressPage = nullptr;
    QToolButton* m_reprintButton = nullptr;
};

} // namespace livrax::print
