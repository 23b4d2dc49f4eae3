// Mapping table fields onto axes, size and colour, normalising records, and
// the points the view keeps of them.
#include "plot3d/core/mapper.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot3d/core/plot_data.h"
#include "plot3d/core/point_cloud.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

class MapperFile : public ::testing::Test {
protected:
    Database read(const std::string& text) {
        testsupport::write_text(folder_.file("3d.dat"), text);
        return Database();
    }
    testsupport::WorkingFolder folder_;
};

std::vector<PlotData> plot_points(const Database& db, const Mapper& m, const Bounds& b) {
    const PointCloud cloud(db, m, b);
    std::vector<PlotData> out;
    for (std::size_t i = 0; i < cloud.count(); ++i) out.push_back(cloud.at(i));
    return out;
}

}  // namespace

TEST_F(MapperFile, FourNumericFieldsGoToAxesAndSize) {
    const Database db = read(
        "g a b c d e\nSTRING NUMERIC NUMERIC NUMERIC NUMERIC NUMERIC\n"
        "\"x\" 1 10 100 5 0\n\"y\" 3 30 200 7 0\n\"z\" 2 20 150 6 0\n");
    const Mapper m(db);
    EXPECT_EQ(std::vector<int>({m.x, m.y, m.z, m.size, m.color}), std::vector<int>({1, 2, 3, 4, -1}));
    EXPECT_EQ(std::vector<float>({m.minx, m.maxx, m.miny, m.maxy, m.minz, m.maxz, m.minsize, m.maxsize}),
              std::vector<float>({1, 3, 10, 30, 100, 200, 5, 7}));
    const auto points = plot_points(db, m, Bounds::of(m));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].vec.x, -1.0f);  // the minimum
    EXPECT_EQ(points[1].vec.y, 1.0f);   // the maximum
    EXPECT_EQ(points[2].vec.z, 0.0f);
    EXPECT_EQ(points[1].size, 2.0f);
    EXPECT_EQ(points[2].id, 2);
    EXPECT_EQ(points[2].color, kYellow);
    const auto labels = axis_labels(db, m);
    EXPECT_EQ(labels.x + labels.y + labels.z + labels.size, "abcd");
}

TEST_F(MapperFile, TwoNumericFieldsLieInAPlane) {
    const Database db = read("a b\nNUMERIC NUMERIC\n1 5\n3 9\n");
    const Mapper m(db);
    EXPECT_EQ(m.z, -1);
    EXPECT_EQ(m.size, -1);
    EXPECT_EQ(std::vector<float>({m.minz, m.maxz, m.minsize, m.maxsize}), std::vector<float>({-1, 1, 1, 2}));
    for (const auto& p : plot_points(db, m, Bounds::of(m))) {
        EXPECT_EQ(p.vec.z, 0.0f);
        EXPECT_EQ(p.size, 1.0f);
    }
    EXPECT_EQ(axis_labels(db, m).z, "");
}

TEST_F(MapperFile, EmptyRangesAndFarValuesStayFinite) {
    // A constant column (pressure is always 0 in many logs), then one record.
    for (const char* text : {"a b c d\nNUMERIC NUMERIC NUMERIC NUMERIC\n1 0 5 2\n2 0 6 2\n",
                             "a b c d\nNUMERIC NUMERIC NUMERIC NUMERIC\n1 0 5 2\n"}) {
        const Database db = read(text);
        const Mapper m(db);
        for (const auto& p : plot_points(db, m, Bounds::of(m))) {
            EXPECT_EQ(p.vec.y, 0.0f) << text;
            EXPECT_EQ(p.size, 1.0f) << text;
            EXPECT_TRUE(std::isfinite(p.vec.x) && std::isfinite(p.vec.z)) << text;
        }
    }
    // Bounds typed in by hand, far from the values.
    EXPECT_TRUE(std::isfinite(normalise(3.0e38f, 0.0f, 1.0e-38f)));
    EXPECT_TRUE(std::isfinite(normalise(-3.0e38f, 3.0e38f, 3.4e38f)));
    EXPECT_EQ(normalise(5.0f, 7.0f, 7.0f), 0.0f);
}

TEST(Mapper, GivenMappingAndColours) {
    const Mapper m(0, -1, 2, -1, 3, Colour{1, 2, 3}, 10, 20, 5, 6, 30, 40, 7, 8,
                   Mapper::ColourTable{{"red", Colour{255, 0, 0}}});
    EXPECT_EQ(std::vector<float>({m.minx, m.maxx, m.miny, m.maxy, m.minz, m.maxz, m.minsize, m.maxsize}),
              std::vector<float>({10, 20, -1, 1, 30, 40, 1, 2}));
    EXPECT_EQ(m.getcolor("red"), (Colour{255, 0, 0}));
    EXPECT_EQ(m.getcolor("blue"), (Colour{1, 2, 3}));
    const Mapper plain(0, 1, 2, -1, -1, Colour{1, 2, 3}, 0, 1, 0, 1, 0, 1, 0, 0, std::nullopt);
    EXPECT_EQ(plain.getcolor("red"), (Colour{1, 2, 3}));
}

TEST_F(MapperFile, RescaleOnlyWhatIsAskedAndMapped) {
    const Database db = read("a b\nNUMERIC NUMERIC\n1 5\n3 9\n");
    Mapper m(0, 1, -1, -1, -1, kYellow, 0, 100, 0, 100, 0, 0, 0, 0, std::nullopt);
    m.rescale(db, false, true, true, true);
    EXPECT_EQ(std::vector<float>({m.minx, m.maxx, m.miny, m.maxy, m.minz, m.maxz}),
              std::vector<float>({0, 100, 5, 9, -1, 1}));
}

TEST_F(MapperFile, PointsKeepOnlyWhatTheMappingUses) {
    const Database db = read(
        "mode rpm o2 tps\nSTRING NUMERIC NUMERIC NUMERIC\n"
        "\"cruise\" 1000 0.5 10\n\"boost\" 3000 0.9 90\n\"idle\" 800 0.7 0\n");
    // rpm on x, tps on z, no size; the mode's colour, "idle" in none of the rows.
    const Mapper m(1, -1, 3, -1, 0, Colour{1, 2, 3}, 800, 3000, 0, 0, 0, 90, 0, 0,
                   Mapper::ColourTable{{"cruise", Colour{0, 0, 255}}, {"boost", Colour{255, 0, 0}}});
    const PointCloud cloud(db, m, Bounds::of(m));
    ASSERT_EQ(cloud.count(), 3u);
    EXPECT_EQ(cloud.colour(0), (Colour{0, 0, 255}));
    EXPECT_EQ(cloud.colour(1), (Colour{255, 0, 0}));
    EXPECT_EQ(cloud.colour(2), (Colour{1, 2, 3}));
    EXPECT_EQ(cloud.position(1).x, 1.0f);
    EXPECT_EQ(cloud.position(1).y, 0.0f);
    EXPECT_EQ(cloud.position(2).z, -1.0f);
    EXPECT_EQ(cloud.size(1), 1.0f);
    EXPECT_EQ(cloud.largestSize(), 1.0f);
    // Two mapped axes and a colour: nine bytes a point, a few for the colours in use.
    EXPECT_LE(cloud.bytes(), 3u * 9u + 16u);

    const Mapper plain(1, -1, -1, 2, -1, kYellow, 800, 3000, 0, 0, 0, 0, 0.5f, 0.9f, std::nullopt);
    const PointCloud sized(db, plain, Bounds::of(plain));
    EXPECT_EQ(sized.colour(2), kYellow);
    EXPECT_EQ(sized.largestSize(), 2.0f);
    EXPECT_LE(sized.bytes(), 3u * 8u + 8u);
}

TEST(PointCloud, MovedAlongAPathLeavesTheOriginal) {
    std::vector<PlotData> given;
    for (int i = 0; i < 4; ++i) given.emplace_back(i, Vector3D(float(i), 0, 0), kYellow, 1.0f);
    const PointCloud points(given);
    const PointCloud moved = points.movedAlong({3, 1, 0, 2}, 2, 0.25f);
    EXPECT_EQ(moved.position(3).x, 1.0f);  // took the next point's place
    EXPECT_EQ(moved.position(1).x, 0.0f);
    EXPECT_EQ(moved.position(0).x, 0.5f);  // a quarter of the way from 0 to 2
    EXPECT_EQ(moved.position(2).x, 2.0f);  // the end of the path stays
    for (int i = 0; i < 4; ++i) EXPECT_EQ(points.position(static_cast<std::size_t>(i)).x, float(i));
    // Indexes outside the table are passed over.
    const PointCloud kept = points.movedAlong({0, 9, 1}, 5, 0.5f);
    EXPECT_EQ(kept.position(0).x, 0.0f);
    EXPECT_EQ(kept.position(1).x, 1.0f);
}
