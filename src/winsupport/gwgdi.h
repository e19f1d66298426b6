#pragma once
// GwGdi: one drawing interface for the screen (a widget or an off-screen image), the
// printer and PDF files, on top of a QPainter.
//
// Coordinates. Client coordinates are the device's pixels (printer dots on a page).
// GwSetViewport chooses a rectangle of the client area; view coordinates are measured
// from its top-left corner. GwSetWindow chooses the logical rectangle that is mapped
// onto the viewport; window (logical) coordinates are the program's own. The routines
// without suffix take client coordinates, those with _W take window coordinates.
// Until set, the viewport and the window are both the whole device (no scaling).
//
// Colours are 0x00BBGGRR integers (GW_RGB).

#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

constexpr int GW_RGB(int r, int g, int b) {
    return (r & 255) | (g & 255) << 8 | (b & 255) << 16;
}

// Pen styles.
enum GwPenStyle {
    GW_PS_SOLID = 0,
    GW_PS_DASH = 1,
    GW_PS_DOT = 2,
    GW_PS_DASHDOT = 3,
    GW_PS_NULL = 5
};
// Brush styles.
enum GwBrushStyle { GW_BS_SOLID = 0, GW_BS_NULL = 1 };
// Text alignment of GwTextOut, one horizontal or-ed with one vertical: where (x, y) lies
// on the text.
enum GwTextAlign {
    GW_TA_LEFT = 0,
    GW_TA_RIGHT = 1,
    GW_TA_CENTER = 2,
    GW_TA_TOP = 0,
    GW_TA_BASELINE = 4,
    GW_TA_BOTTOM = 8
};

struct GwPoint {
    int x = 0, y = 0;
    bool operator==(const GwPoint&) const = default;
};
struct GwSize {
    int cx = 0, cy = 0;
};

// A drawing context: the painter and the mapping. Pen, brush, text colour and font
// live in the painter; the current position of GwMoveTo/GwLineTo in `current`.
struct GwDC {
    QPainter* painter = nullptr;
    bool ownsPainter = false;
    int vpX = 0, vpY = 0, vpW = 1, vpH = 1; // viewport, client coordinates
    int wnX = 0, wnY = 0, wnW = 1, wnH = 1; // window, logical coordinates
    GwPoint current;                        // client coordinates
    int textColor = 0;
};

// Starts drawing on a device (QImage, QPixmap, a widget in its paint event, QPrinter)
// or with a painter that is already active. False when the painter cannot begin. The
// pen starts black solid 1, the brush hollow, the text black, the font the default.
bool GwBeginDraw(GwDC& dc, QPaintDevice* device);
bool GwBeginDraw(GwDC& dc, QPainter* painter);
// Ends drawing (ends the painter when GwBeginDraw began it); false when the device
// failed on the way.
bool GwEndDraw(GwDC& dc);

// The mapping.
void GwSetViewport(GwDC& dc, int x, int y, int width, int height);
void GwSetWindow(GwDC& dc, int x, int y, int width, int height);
GwPoint GwWnd2View(const GwDC& dc, GwPoint p);
GwPoint GwView2Wnd(const GwDC& dc, GwPoint p);
GwPoint GwClient2View(const GwDC& dc, GwPoint p);
GwPoint GwView2Client(const GwDC& dc, GwPoint p);
GwPoint GwClient2Wnd(const GwDC& dc, GwPoint p);
GwPoint GwWnd2Client(const GwDC& dc, GwPoint p);

// Drawing tools. width in client pixels; a width of 0 is the thinnest line.
void GwSetPen(GwDC& dc, int style, int width, int colour);
void GwSetBrush(GwDC& dc, int style, int colour);
void GwSetTextColor(GwDC& dc, int colour);
// face "" is the platform's default sans face; a face the system lacks is replaced by
// one of its kind (fixedPitch: a fixed-pitch face, else a sans face). height in client pixels: above 0 the
// character cell (ascent + descent), below 0 the character height without the
// leading, which is how type sizes are given (points x dpi / 72). weight 100..900
// (400 normal, 700 bold).
void GwSetFont(GwDC& dc, const std::string& face, int height, int weight = 400, bool italic = false,
               bool underline = false, bool fixedPitch = false);
// Width and height of text in the current font, client pixels.
GwSize GwGetTextExtent(const GwDC& dc, const std::string& text);

// Drawing in client coordinates. Rectangles and ellipses take the corners (left, top)
// and (right, bottom), the right and bottom edges excluded.
void GwTextOut(GwDC& dc, int x, int y, const std::string& text, int align = GW_TA_LEFT);
void GwMoveTo(GwDC& dc, int x, int y);
void GwLineTo(GwDC& dc, int x, int y);
void GwLine(GwDC& dc, int x1, int y1, int x2, int y2);
void GwRectangle(GwDC& dc, int left, int top, int right, int bottom);
void GwEllipse(GwDC& dc, int left, int top, int right, int bottom);
void GwPolygon(GwDC& dc, const std::vector<GwPoint>& points);
// The same in window (logical) coordinates.
void GwTextOut_W(GwDC& dc, int x, int y, const std::string& text, int align = GW_TA_LEFT);
void GwMoveTo_W(GwDC& dc, int x, int y);
void GwLineTo_W(GwDC& dc, int x, int y);
void GwLine_W(GwDC& dc, int x1, int y1, int x2, int y2);
void GwRectangle_W(GwDC& dc, int left, int top, int right, int bottom);
void GwEllipse_W(GwDC& dc, int left, int top, int right, int bottom);
void GwPolygon_W(GwDC& dc, const std::vector<GwPoint>& points);

// Pictures: SVG, PNG and JPEG files.
// The picture's own width and height (for an SVG its view box); false, with a reason
// for the user, when the file is missing, of another kind or cannot be read.
bool GwPictureSize(const std::string& file, int& width, int& height, std::string& reason);
// Draws the picture of `file` scaled into the rectangle (left, top)-(right, bottom),
// client coordinates; false when it cannot be read.
bool GwDrawPicture(GwDC& dc, const std::string& file, int left, int top, int right, int bottom);

// Printing. A job draws page after page through job.dc; page size and resolution of
// the device are in the job. The page settings are kept in one printer for the whole
// run (GwPrinter), so that a page set-up dialog can change them.
struct GwPrintJob {
    QPrinter* printer = nullptr;
    GwDC dc;
    int pageWidth = 0, pageHeight = 0; // printable area, device dots
    int dpiX = 0, dpiY = 0;
    int offX = 0, offY = 0;            // printable area's offset from the paper's corner
    std::string pdfFile;      // the PDF file written, "" on a printer
    bool ownsPrinter = false; // a PDF job's own printer, freed by GwPrintEnd
    // A PDF job draws into this temporary file of the system's temporary folder;
    // after GwPrintEnd the caller checks it, puts it in place as pdfFile and
    // removes it (ENDPRINT), so that a failed print never replaces a good file.
    std::string pdfTemp;
};
QPrinter* GwPrinter();
// Makes drawing, fonts and PDF printing available to a program without windows:
// starts the application object when none runs, on the offscreen platform unless
// QT_QPA_PLATFORM names one, so that no display is needed. Kept until the end.
void GwStartHeadless();
// Asks for the printer with the print dialog and starts the document docName. When
// the system has no printer it asks for a PDF file name instead (save dialog,
// proposing `pdfName`, or docName + ".pdf" when that is empty) and prints to it.
// False when the user cancels or the device cannot be opened.
bool GwPrintBegin(GwPrintJob& job, QWidget* owner, const std::string& docName,
                  const std::string& pdfName = "");
// Starts the document docName in the PDF file `file`, without a dialog.
bool GwPdfBegin(GwPrintJob& job, const std::string& file, const std::string& docName);
// Starts the next page; false when the device fails.
bool GwPrintNewPage(GwPrintJob& job);
// Ends the document; false when the device failed on the way. A PDF job's
// document is then in job.pdfTemp, not yet in job.pdfFile.
bool GwPrintEnd(GwPrintJob& job);
