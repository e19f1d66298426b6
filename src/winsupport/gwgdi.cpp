#include "winsupport/gwgdi.h"

#include "winsupport/gwcontrol.h"
#include "winsupport/gwfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QFontDatabase>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdio>

namespace {

QColor Colour(int v) {
    return QColor(v & 255, v >> 8 & 255, v >> 16 & 255);
}

// Scales v by num / den, rounded to the nearest whole number.
int Scale(int v, int num, int den) {
    return den ? int(std::lround(double(v) * num / den)) : v;
}

// Starts the mapping at the whole device and the tools at their defaults.
void Reset(GwDC& dc) {
    QPaintDevice* device = dc.painter->device();
    dc.vpX = dc.vpY = dc.wnX = dc.wnY = 0;
    dc.vpW = dc.wnW = std::max(1, device->width());
    dc.vpH = dc.wnH = std::max(1, device->height());
    dc.current = {};
    dc.textColor = 0;
    dc.painter->setPen(QPen(Qt::black, 0));
    dc.painter->setBrush(Qt::NoBrush);
}

GwPoint W2C(const GwDC& dc, int x, int y) {
    return GwWnd2Client(dc, {x, y});
}

bool StartJob(GwPrintJob& job, const std::string& docName) {
    job.printer->setDocName(QS(docName));
    if (!GwBeginDraw(job.dc, job.printer)) return false;
    job.pageWidth = job.printer->width();
    job.pageHeight = job.printer->height();
    job.dpiX = job.printer->logicalDpiX();
    job.dpiY = job.printer->logicalDpiY();
    const QRectF paper = job.printer->paperRect(QPrinter::DevicePixel);
    const QRectF page = job.printer->pageRect(QPrinter::DevicePixel);
    job.offX = int(std::lround(page.left() - paper.left()));
    job.offY = int(std::lround(page.top() - paper.top()));
    return true;
}

// A printer of its own for the PDF file `file`, with the page settings of
// GwPrinter(), drawing into a temporary file of its own (job.pdfTemp). False
// when no temporary file can be made.
bool UsePdf(GwPrintJob& job, const std::string& file) {
    QTemporaryFile temp(QDir::tempPath() + "/orla-print-XXXXXX.pdf");
    temp.setAutoRemove(false);
    if (!temp.open()) return false;
    job.pdfTemp = temp.fileName().toStdString();
    temp.close();
    job.printer = new QPrinter(QPrinter::HighResolution);
    job.ownsPrinter = true;
    job.printer->setPageLayout(GwPrinter()->pageLayout());
    job.printer->setOutputFormat(QPrinter::PdfFormat);
    job.printer->setOutputFileName(QString::fromStdString(job.pdfTemp));
    job.pdfFile = file;
    return true;
}

void Release(GwPrintJob& job) {
    if (job.ownsPrinter) delete job.printer;
    job.printer = nullptr;
    job.ownsPrinter = false;
}

// A job that could not start leaves no temporary file behind.
void Abandon(GwPrintJob& job) {
    Release(job);
    if (!job.pdfTemp.empty()) QFile::remove(QString::fromStdString(job.pdfTemp));
    job.pdfTemp.clear();
}

} // namespace

bool GwBeginDraw(GwDC& dc, QPaintDevice* device) {
    dc = GwDC();
    auto* painter = new QPainter;
    if (!device || !painter->begin(device)) {
        delete painter;
        return false;
    }
    dc.painter = painter;
    dc.ownsPainter = true;
    Reset(dc);
    return true;
}

bool GwBeginDraw(GwDC& dc, QPainter* painter) {
    dc = GwDC();
    if (!painter || !painter->isActive()) return false;
    dc.painter = painter;
    Reset(dc);
    return true;
}

bool GwEndDraw(GwDC& dc) {
    bool ok = dc.painter != nullptr;
    if (dc.ownsPainter) {
        ok = dc.painter->end();
        delete dc.painter;
    }
    dc.painter = nullptr;
    dc.ownsPainter = false;
    return ok;
}

void GwSetViewport(GwDC& dc, int x, int y, int width, int height) {
    dc.vpX = x;
    dc.vpY = y;
    dc.vpW = width ? width : 1;
    dc.vpH = height ? height : 1;
}

void GwSetWindow(GwDC& dc, int x, int y, int width, int height) {
    dc.wnX = x;
    dc.wnY = y;
    dc.wnW = width ? width : 1;
    dc.wnH = height ? height : 1;
}

GwPoint GwWnd2View(const GwDC& dc, GwPoint p) {
    return {Scale(p.x - dc.wnX, dc.vpW, dc.wnW), Scale(p.y - dc.wnY, dc.vpH, dc.wnH)};
}
GwPoint GwView2Wnd(const GwDC& dc, GwPoint p) {
    return {dc.wnX + Scale(p.x, dc.wnW, dc.vpW), dc.wnY + Scale(p.y, dc.wnH, dc.vpH)};
}
GwPoint GwClient2View(const GwDC& dc, GwPoint p) {
    return {p.x - dc.vpX, p.y - dc.vpY};
}
GwPoint GwView2Client(const GwDC& dc, GwPoint p) {
    return {p.x + dc.vpX, p.y + dc.vpY};
}
GwPoint GwClient2Wnd(const GwDC& dc, GwPoint p) {
    return GwView2Wnd(dc, GwClient2View(dc, p));
}
GwPoint GwWnd2Client(const GwDC& dc, GwPoint p) {
    return GwView2Client(dc, GwWnd2View(dc, p));
}

void GwSetPen(GwDC& dc, int style, int width, int colour) {
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                          Qt::DashDotLine};
    if (style == GW_PS_NULL) {
        dc.painter->setPen(Qt::NoPen);
        return;
    }
    QPen pen(Colour(colour), std::max(0, width));
    pen.setStyle(style >= 0 && style < 4 ? styles[style] : Qt::SolidLine);
    dc.painter->setPen(pen);
}

void GwSetBrush(GwDC& dc, int style, int colour) {
    dc.painter->setBrush(style == GW_BS_NULL ? QBrush(Qt::NoBrush) : QBrush(Colour(colour)));
}

void GwSetTextColor(GwDC& dc, int colour) {
    dc.textColor = colour;
}

void GwSetFont(GwDC& dc, const std::string& face, int height, int weight, bool italic,
               bool underline, bool fixedPitch) {
    QFont font =
        face.empty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(QS(face));
    if (fixedPitch) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        // A face the system lacks must not turn the columns of a report proportional.
        if (!QFontInfo(font).fixedPitch())
            font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    }
    const int size = std::max(1, std::abs(height));
    font.setPixelSize(size);
    if (height > 0) {
        // Scale the type size so that the cell has the height asked for.
        const int cell = QFontMetrics(font, dc.painter->device()).height();
        if (cell > 0) font.setPixelSize(std::max(1, size * size / cell));
    }
    font.setWeight(QFont::Weight(std::clamp(weight, 100, 900)));
    font.setItalic(italic);
    font.setUnderline(underline);
    dc.painter->setFont(font);
}

GwSize GwGetTextExtent(const GwDC& dc, const std::string& text) {
    const QFontMetrics fm = dc.painter->fontMetrics();
    return {fm.horizontalAdvance(QS(text)), fm.height()};
}

void GwTextOut(GwDC& dc, int x, int y, const std::string& text, int align) {
    const QString s = QS(text);
    const QFontMetrics fm = dc.painter->fontMetrics();
    if (align & GW_TA_RIGHT)
        x -= fm.horizontalAdvance(s);
    else if (align & GW_TA_CENTER)
        x -= fm.horizontalAdvance(s) / 2;
    if (align & GW_TA_BOTTOM)
        y -= fm.descent();
    else if (!(align & GW_TA_BASELINE))
        y += fm.ascent();
    const QPen pen = dc.painter->pen();
    dc.painter->setPen(Colour(dc.textColor));
    dc.painter->drawText(x, y, s);
    dc.painter->setPen(pen);
}

void GwMoveTo(GwDC& dc, int x, int y) {
    dc.current = {x, y};
}

void GwLineTo(GwDC& dc, int x, int y) {
    dc.painter->drawLine(dc.current.x, dc.current.y, x, y);
    dc.current = {x, y};
}

void GwLine(GwDC& dc, int x1, int y1, int x2, int y2) {
    GwMoveTo(dc, x1, y1);
    GwLineTo(dc, x2, y2);
}

void GwRectangle(GwDC& dc, int left, int top, int right, int bottom) {
    dc.painter->drawRect(left, top, right - left - 1, bottom - top - 1);
}

void GwEllipse(GwDC& dc, int left, int top, int right, int bottom) {
    dc.painter->drawEllipse(left, top, right - left - 1, bottom - top - 1);
}

void GwPolygon(GwDC& dc, const std::vector<GwPoint>& points) {
    QPolygon polygon;
    for (const auto& p : points)
        polygon << QPoint(p.x, p.y);
    dc.painter->drawPolygon(polygon);
}

void GwTextOut_W(GwDC& dc, int x, int y, const std::string& text, int align) {
    const GwPoint p = W2C(dc, x, y);
    GwTextOut(dc, p.x, p.y, text, align);
}

void GwMoveTo_W(GwDC& dc, int x, int y) {
    const GwPoint p = W2C(dc, x, y);
    GwMoveTo(dc, p.x, p.y);
}

void GwLineTo_W(GwDC& dc, int x, int y) {
    const GwPoint p = W2C(dc, x, y);
    GwLineTo(dc, p.x, p.y);
}

void GwLine_W(GwDC& dc, int x1, int y1, int x2, int y2) {
    const GwPoint a = W2C(dc, x1, y1), b = W2C(dc, x2, y2);
    GwLine(dc, a.x, a.y, b.x, b.y);
}

void GwRectangle_W(GwDC& dc, int left, int top, int right, int bottom) {
    const GwPoint a = W2C(dc, left, top), b = W2C(dc, right, bottom);
    GwRectangle(dc, a.x, a.y, b.x, b.y);
}

void GwEllipse_W(GwDC& dc, int left, int top, int right, int bottom) {
    const GwPoint a = W2C(dc, left, top), b = W2C(dc, right, bottom);
    GwEllipse(dc, a.x, a.y, b.x, b.y);
}

void GwPolygon_W(GwDC& dc, const std::vector<GwPoint>& points) {
    std::vector<GwPoint> client;
    for (const auto& p : points)
        client.push_back(GwWnd2Client(dc, p));
    GwPolygon(dc, client);
}

namespace {

bool IsSvg(const std::string& file) {
    return QFileInfo(QS(file)).suffix().compare("svg", Qt::CaseInsensitive) == 0;
}

} // namespace

bool GwPictureSize(const std::string& file, int& width, int& height, std::string& reason) {
    const QFileInfo info(QS(file));
    if (!info.exists() || !info.isFile()) {
        reason = "the file does not exist";
        return false;
    }
    const QString suffix = info.suffix().toLower();
    if (suffix != "svg" && suffix != "png" && suffix != "jpg" && suffix != "jpeg") {
        reason = "only SVG, PNG and JPEG pictures can be printed";
        return false;
    }
    QSize size;
    if (IsSvg(file)) {
        QSvgRenderer svg(QS(file));
        if (svg.isValid()) size = svg.viewBoxF().size().toSize();
    } else {
        QImageReader reader(QS(file));
        if (reader.canRead()) size = reader.size();
        if (!size.isValid()) size = reader.read().size();
    }
    if (!size.isValid() || size.width() < 1 || size.height() < 1) {
        reason = "the file is not a picture that can be read";
        return false;
    }
    width = size.width();
    height = size.height();
    return true;
}

bool GwDrawPicture(GwDC& dc, const std::string& file, int left, int top, int right, int bottom) {
    const QRectF target(left, top, right - left, bottom - top);
    if (IsSvg(file)) {
        QSvgRenderer svg(QS(file));
        if (!svg.isValid()) return false;
        svg.render(dc.painter, target);
        return true;
    }
    const QImage image(QS(file));
    if (image.isNull()) return false;
    dc.painter->save();
    dc.painter->setRenderHint(QPainter::SmoothPixmapTransform);
    dc.painter->drawImage(target, image);
    dc.painter->restore();
    return true;
}

void GwStartHeadless() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never freed: the fonts and printers made with it live to the program's end.
    // A program without windows has no use for the platform's chatter (a missing
    // runtime folder and the like); its own messages go to its standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    static int argc = 1;
    static char name[] = "orla-cli";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

QPrinter* GwPrinter() {
    // Kept for the whole run and never freed: a printer must not outlive the
    // application object, and the page settings live as long as the program.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return printer;
}

bool GwPrintBegin(GwPrintJob& job, QWidget* owner, const std::string& docName,
                  const std::string& pdfName) {
    job = GwPrintJob();
    std::optional<std::string> pdf;
    std::string file = pdfName.empty() ? docName + ".pdf" : pdfName;
    if (SEAMPRINT(pdf, file)) {
        if (!pdf || !UsePdf(job, *pdf)) return false;
    } else if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        if (!GwGetSaveFile(owner, {{"PDF files (*.pdf)", "*.pdf"}}, "pdf", file, "Print to PDF"))
            return false;
        if (!UsePdf(job, file)) return false;
    } else {
        job.printer = GwPrinter();
        job.printer->setOutputFormat(QPrinter::NativeFormat);
        QPrintDialog dialog(job.printer, owner ? owner : GwMainWindow());
        if (dialog.exec() != QDialog::Accepted) {
            job.printer = nullptr;
            return false;
        }
    }
    if (StartJob(job, docName)) return true;
    Abandon(job);
    return false;
}

bool GwPdfBegin(GwPrintJob& job, const std::string& file, const std::string& docName) {
    job = GwPrintJob();
    if (!UsePdf(job, file)) return false;
    if (StartJob(job, docName)) return true;
    Abandon(job);
    return false;
}

bool GwPrintNewPage(GwPrintJob& job) {
    return job.printer && job.printer->newPage();
}

bool GwPrintEnd(GwPrintJob& job) {
    if (!job.printer) return false;
    const bool ok = GwEndDraw(job.dc);
    Release(job);
    return ok;
}
