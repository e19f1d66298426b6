#include "winsupport/gwgdi.h"

// Being filled in.
bool GwBeginDraw(GwDC&, QPaintDevice*) {
    return false;
}
bool GwBeginDraw(GwDC&, QPainter*) {
    return false;
}
void GwEndDraw(GwDC&) {}
void GwSetViewport(GwDC&, int, int, int, int) {}
void GwSetWindow(GwDC&, int, int, int, int) {}
GwPoint GwWnd2View(const GwDC&, GwPoint p) {
    return p;
}
GwPoint GwView2Wnd(const GwDC&, GwPoint p) {
    return p;
}
GwPoint GwClient2View(const GwDC&, GwPoint p) {
    return p;
}
GwPoint GwView2Client(const GwDC&, GwPoint p) {
    return p;
}
GwPoint GwClient2Wnd(const GwDC&, GwPoint p) {
    return p;
}
GwPoint GwWnd2Client(const GwDC&, GwPoint p) {
    return p;
}
void GwSetPen(GwDC&, int, int, int) {}
void GwSetBrush(GwDC&, int, int) {}
void GwSetTextColor(GwDC&, int) {}
void GwSetFont(GwDC&, const std::string&, int, int, bool, bool) {}
GwSize GwGetTextExtent(const GwDC&, const std::string&) {
    return {};
}
void GwTextOut(GwDC&, int, int, const std::string&, int) {}
void GwMoveTo(GwDC&, int, int) {}
void GwLineTo(GwDC&, int, int) {}
void GwLine(GwDC&, int, int, int, int) {}
void GwRectangle(GwDC&, int, int, int, int) {}
void GwEllipse(GwDC&, int, int, int, int) {}
void GwPolygon(GwDC&, const std::vector<GwPoint>&) {}
void GwTextOut_W(GwDC&, int, int, const std::string&, int) {}
void GwMoveTo_W(GwDC&, int, int) {}
void GwLineTo_W(GwDC&, int, int) {}
void GwLine_W(GwDC&, int, int, int, int) {}
void GwRectangle_W(GwDC&, int, int, int, int) {}
void GwEllipse_W(GwDC&, int, int, int, int) {}
void GwPolygon_W(GwDC&, const std::vector<GwPoint>&) {}
QPrinter* GwPrinter() {
    return nullptr;
}
bool GwPrintBegin(GwPrintJob&, QWidget*, const std::string&) {
    return false;
}
bool GwPdfBegin(GwPrintJob&, const std::string&, const std::string&) {
    return false;
}
bool GwPrintNewPage(GwPrintJob&) {
    return false;
}
bool GwPrintEnd(GwPrintJob&) {
    return false;
}
