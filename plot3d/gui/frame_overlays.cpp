#include "plot3d/gui/frame_overlays.h"

#include <QPolygon>

#include <string>
#include <variant>

#include "common/core/java_numbers.h"
#include "platform/gui/windows1252_text.h"
#include "plot3d/core/view_math.h"

namespace korv::plot3d {

namespace {

const QColor kGrey(128, 128, 128);

QPoint qpoint(ScreenPoint p) { return {p.x, p.y}; }

}  // namespace

void draw_planes(QPainter& g, const FrameScene& scene, const std::array<bool, 3>& which) {
    const std::string* labels[3] = {&scene.ylabel, &scene.zlabel, &scene.xlabel};
    for (int plane = 0; plane < 3; ++plane) {
        if (!which[static_cast<std::size_t>(plane)]) continue;
        const PlaneShape s = plane_shape(plane, scene.transmat, scene.width, scene.height, scene.needgrid);
        if (scene.opaqueplane) {
            QPolygon quad;
            for (const auto& p : s.quad) quad << qpoint(p);
            g.setPen(Qt::black);
            g.setBrush(kGrey);
            g.drawPolygon(quad);
        } else {
            g.setPen(Qt::black);
            for (const auto& line : s.axis) g.drawLine(qpoint(line.a), qpoint(line.b));
            if (s.arrow) {
                QPolygon head;
                for (const auto& p : s.head) head << qpoint(p);
                g.setBrush(Qt::black);
                g.drawPolygon(head);
                g.drawText(s.label.x, s.label.y, platform::qstring_from_windows1252(*labels[plane]));
            }
        }
        g.setPen(Qt::white);
        for (const auto& line : s.grid) g.drawLine(qpoint(line.a), qpoint(line.b));
    }
}

void draw_value_box(QPainter& g, const FrameScene& scene) {
    const Database* db = scene.table.get();
    if (db == nullptr || scene.selectid < 0 || scene.selectid >= db->reccount) return;
    const int n = db->fieldcount;
    const BoxPlace box = value_box_place(scene.reportx, scene.reporty, n, scene.width, scene.height);
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(box.left, box.top, box.width, box.height);
    g.setFont(scene.reportfont);
    for (int i = 0; i < n; ++i) {
        const int y = box.top + kValueBoxLine * (i + 1);
        const Value& v = db->value(scene.selectid, i);
        std::string text;
        if (const auto* f = std::get_if<float>(&v)) text = java_float_to_string(*f);
        if (const auto* s = std::get_if<std::string>(&v)) text = *s;
        g.drawText(box.left + 5, y, platform::qstring_from_windows1252(db->fieldname[static_cast<std::size_t>(i)]));
        g.drawText(box.left + 75, y, platform::qstring_from_windows1252(text));
    }
}

}  // namespace korv::plot3d
