#include "engine/matte/SubjectLift.h"

#include "engine/bitmap/RGBABitmap.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/GuidedUpsample.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/Premultiply.h"
#include "engine/types/MatteError.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace zephrin {

namespace {

constexpr int kMinimumSide = 8;           // working pixels; below this nothing can be told apart
constexpr double kBandShare = 0.03;       // width of the frame band, share of the shorter side
constexpr int kMaxClusters = 8;
constexpr float kSpreadFloor = 4.0f;      // CIE Lab units; keeps the grain of near-flat grounds from shouting
constexpr float kLevelsPerUnit = 4.0f;    // distance map resolution in 8 bits: 4 levels per Lab unit
// Thresholds on the seeding cue (the mean of the colour and barrier distances), in Lab units.
constexpr double kStandOut = 12.0;        // a subject has pixels this far from the background
constexpr double kSeedDistance = 8.0;     // the least that seeds the subject
constexpr double kCertainDistance = 3.0;  // band pixels below this are certain background
constexpr int kGrabCutIterations = 3;
constexpr double kKeepShareOfLargest = 0.05;
constexpr double kSpeckShare = 0.0005;    // of the working area: components and holes below are noise
constexpr double kNegligibleShare = 0.002;
constexpr double kWholeFrameShare = 0.95;
// Mean gradient along the outline over the mean gradient of the whole copy:
// found subjects measure 7 to 19, a two-way colour gradient 0.6.
constexpr double kLeastEdgeContrast = 2.0;

enum Side : uchar { top = 1, bottom = 2, left = 4, right = 8 };

// The working copy: straight RGB for the colour models, and where it is opaque.
struct WorkCopy {
    cv::Mat rgb;    // CV_8UC3
    cv::Mat opaque; // CV_8UC1, 255 where alpha ≥ 128
    bool anyTransparent = false;
};

WorkCopy workCopy(const Image& area)
{
    const double scale = std::min(1.0, std::sqrt(double(kSubjectLiftWorkPixels) / area.pixels.total()));
    const int longEdge = std::max(1, int(std::lround(std::max(area.width(), area.height()) * scale)));
    const std::optional<RGBABitmap> bitmap = makeBitmap(area, longEdge);
    if (!bitmap)
        return {};
    const cv::Mat straight = unpremultiplied(Image(bitmap->view()));
    WorkCopy copy;
    cv::cvtColor(straight, copy.rgb, cv::COLOR_RGBA2RGB);
    cv::Mat alpha;
    cv::extractChannel(straight, alpha, 3);
    copy.opaque = alpha >= 128;
    copy.anyTransparent = cv::countNonZero(alpha != 255) > 0;
    return copy;
}

// --- 1. background model ----------------------------------------------------------------

struct Cluster {
    cv::Vec3f centre;
    float spread = kSpreadFloor; // root mean square distance of its members
    bool background = false;
};

// Which sides' bands a pixel lies in (corners belong to two).
uchar sidesOf(int x, int y, cv::Size size, int band)
{
    return uchar((y < band ? top : 0) | (y >= size.height - band ? bottom : 0) | (x < band ? left : 0)
                 | (x >= size.width - band ? right : 0));
}

// 255 on the band along the frame, 0 inside.
cv::Mat frameBand(cv::Size size, int band)
{
    cv::Mat mask(size, CV_8UC1, cv::Scalar(255));
    if (size.width > 2 * band && size.height > 2 * band)
        mask(cv::Rect(band, band, size.width - 2 * band, size.height - 2 * band)).setTo(0);
    return mask;
}

std::vector<Cluster> backgroundModel(const cv::Mat& lab, const cv::Mat& opaque, int band)
{
    std::vector<cv::Vec3f> samples;
    std::vector<uchar> sides;
    for (int y = 0; y < lab.rows; ++y) {
        for (int x = 0; x < lab.cols; ++x) {
            const uchar side = sidesOf(x, y, lab.size(), band);
            if (side && opaque.at<uchar>(y, x)) {
                samples.push_back(lab.at<cv::Vec3f>(y, x));
                sides.push_back(side);
            }
        }
    }
    const int k = std::min(kMaxClusters, int(samples.size()) / 8);
    if (k < 1)
        return {};

    // Deterministic start: clusters by lightness quantile.
    std::vector<int> order(samples.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return samples[size_t(a)][0] < samples[size_t(b)][0]; });
    cv::Mat labels(int(samples.size()), 1, CV_32S);
    for (size_t rank = 0; rank < order.size(); ++rank)
        labels.at<int>(order[rank]) = int(rank * size_t(k) / order.size());
    cv::Mat centres;
    const cv::Mat data(int(samples.size()), 3, CV_32F, samples.data());
    cv::kmeans(data, k, labels, cv::TermCriteria(cv::TermCriteria::COUNT | cv::TermCriteria::EPS, 10, 0.5), 1,
               cv::KMEANS_USE_INITIAL_LABELS, centres);

    std::vector<Cluster> clusters(static_cast<size_t>(k));
    std::vector<double> squared(size_t(k), 0);
    std::vector<int> members(size_t(k), 0);
    std::vector<std::array<int, 4>> perSide(size_t(k), {0, 0, 0, 0});
    std::array<int, 4> sideTotals{0, 0, 0, 0};
    for (int c = 0; c < k; ++c)
        clusters[size_t(c)].centre = centres.at<cv::Vec3f>(c);
    for (size_t i = 0; i < samples.size(); ++i) {
        const int c = labels.at<int>(int(i));
        const cv::Vec3f d = samples[i] - clusters[size_t(c)].centre;
        squared[size_t(c)] += d.dot(d);
        ++members[size_t(c)];
        for (int s = 0; s < 4; ++s) {
            if (sides[i] & (1 << s)) {
                ++perSide[size_t(c)][size_t(s)];
                ++sideTotals[size_t(s)];
            }
        }
    }
    bool anyBackground = false;
    for (int c = 0; c < k; ++c) {
        Cluster& cluster = clusters[size_t(c)];
        if (members[size_t(c)] > 0)
            cluster.spread = std::max(kSpreadFloor, float(std::sqrt(squared[size_t(c)] / members[size_t(c)])));
        int sidesPresent = 0;
        for (int s = 0; s < 4; ++s)
            sidesPresent += sideTotals[size_t(s)] > 0 && perSide[size_t(c)][size_t(s)] * 20 >= sideTotals[size_t(s)];
        cluster.background = sidesPresent >= 2 || members[size_t(c)] * 10 >= int(samples.size()) * 3;
        anyBackground = anyBackground || cluster.background;
    }
    if (!anyBackground)
        for (Cluster& cluster : clusters)
            cluster.background = true;
    std::erase_if(clusters, [](const Cluster& cluster) { return !cluster.background; });
    return clusters;
}

// --- 2. seeds -------------------------------------------------------------------------

// Each pixel's distance to the nearest background cluster beyond that
// cluster's spread, in Lab units, as 8 bits (kLevelsPerUnit per unit, saturating).
cv::Mat distanceLevels(const cv::Mat& lab, const std::vector<Cluster>& clusters)
{
    cv::Mat levels(lab.size(), CV_8UC1);
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* row = lab.ptr<cv::Vec3f>(y);
        uchar* out = levels.ptr(y);
        for (int x = 0; x < lab.cols; ++x) {
            float nearest = std::numeric_limits<float>::max();
            for (const Cluster& cluster : clusters) {
                const cv::Vec3f d = row[x] - cluster.centre;
                nearest = std::min(nearest, std::sqrt(d.dot(d)) - cluster.spread);
            }
            out[x] = cv::saturate_cast<uchar>(std::max(nearest, 0.0f) * kLevelsPerUnit);
        }
    }
    return levels;
}

// The minimum barrier distance from the frame band of one channel: for every
// pixel, the least (max − min) of the channel along any 4-connected path from
// the band, approximated by alternating raster scans. Texture does not add up
// along a path (unlike a geodesic distance); only a real barrier — an edge
// round the subject — gives a large value.
cv::Mat barrierDistance(const cv::Mat& channel, int band)
{
    const int w = channel.cols;
    const int h = channel.rows;
    cv::Mat distance(channel.size(), CV_32F, cv::Scalar(std::numeric_limits<float>::max()));
    cv::Mat high = channel.clone();
    cv::Mat low = channel.clone();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (sidesOf(x, y, channel.size(), band))
                distance.at<float>(y, x) = 0;
    // Offers pixel (x, y) the best path to its neighbour (fromX, fromY), extended by one step.
    const auto relax = [&](int y, int x, int fromY, int fromX) {
        const float value = channel.ptr<float>(y)[x];
        const float up = std::max(high.ptr<float>(fromY)[fromX], value);
        const float down = std::min(low.ptr<float>(fromY)[fromX], value);
        float& best = distance.ptr<float>(y)[x];
        if (up - down < best) {
            best = up - down;
            high.ptr<float>(y)[x] = up;
            low.ptr<float>(y)[x] = down;
        }
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (x > 0)
                    relax(y, x, y, x - 1);
                if (y > 0)
                    relax(y, x, y - 1, x);
            }
        }
        for (int y = h - 1; y >= 0; --y) {
            for (int x = w - 1; x >= 0; --x) {
                if (x < w - 1)
                    relax(y, x, y, x + 1);
                if (y < h - 1)
                    relax(y, x, y + 1, x);
            }
        }
    }
    return distance;
}

// The GrabCut labels; nullopt when nothing stands out from the background.
std::optional<cv::Mat> seeds(const WorkCopy& copy, int band)
{
    cv::Mat lab;
    cv::Mat rgbFloat;
    copy.rgb.convertTo(rgbFloat, CV_32F, 1.0 / 255);
    cv::cvtColor(rgbFloat, lab, cv::COLOR_RGB2Lab);
    const std::vector<Cluster> clusters = backgroundModel(lab, copy.opaque, band);
    if (clusters.empty())
        return std::nullopt;
    cv::Mat levels = distanceLevels(lab, clusters);
    // Two cues in equal parts: colour unlike the frame's, and walled off from
    // the frame. Either alone fails where the other holds: a subject cut by the
    // frame is not walled off; a background that varies inside is not like the
    // frame's colours.
    std::vector<cv::Mat> planes;
    cv::split(lab, planes);
    const cv::Mat barrier =
        barrierDistance(planes[0], band) + barrierDistance(planes[1], band) + barrierDistance(planes[2], band);
    cv::Mat barrierLevels;
    barrier.convertTo(barrierLevels, CV_8U, kLevelsPerUnit);
    cv::addWeighted(levels, 0.5, barrierLevels, 0.5, 0, levels);
    levels.setTo(0, ~copy.opaque);

    const double area = double(levels.total());
    if (cv::countNonZero(levels > kStandOut * kLevelsPerUnit) < kNegligibleShare * area)
        return std::nullopt;
    cv::Mat ignored;
    const double otsu = cv::threshold(levels, ignored, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    const double seedLevel = std::max(otsu, kSeedDistance * kLevelsPerUnit);

    cv::Mat labels(levels.size(), CV_8UC1, cv::Scalar(cv::GC_PR_BGD));
    labels.setTo(cv::GC_PR_FGD, levels > seedLevel);
    const uchar certain = cv::saturate_cast<uchar>(kCertainDistance * kLevelsPerUnit);
    for (int y = 0; y < labels.rows; ++y)
        for (int x = 0; x < labels.cols; ++x)
            if (sidesOf(x, y, labels.size(), band) && levels.at<uchar>(y, x) < certain)
                labels.at<uchar>(y, x) = cv::GC_BGD;
    labels.setTo(cv::GC_BGD, ~copy.opaque);
    return labels;
}

// How much sharper the image changes along the subject's outline than it does
// on average: a real subject is set off by an edge, while a smooth gradient or
// a patch of texture is not.
double edgeContrast(const cv::Mat& rgb, const cv::Mat& subject)
{
    cv::Mat grey, dx, dy, magnitude;
    cv::cvtColor(rgb, grey, cv::COLOR_RGB2GRAY);
    cv::Sobel(grey, dx, CV_32F, 1, 0);
    cv::Sobel(grey, dy, CV_32F, 0, 1);
    cv::magnitude(dx, dy, magnitude);
    cv::Mat outline;
    cv::morphologyEx(subject, outline, cv::MORPH_GRADIENT, cv::Mat());
    if (cv::countNonZero(outline) == 0)
        return 0;
    return cv::mean(magnitude, outline)[0] / (cv::mean(magnitude)[0] + 1.0);
}

// --- 4. components ----------------------------------------------------------------------

void keepComponentsThatMatter(cv::Mat& subject)
{
    const double speck = kSpeckShare * double(subject.total());
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(subject, labels, stats, centroids, 8, CV_32S);
    int largest = 0;
    for (int i = 1; i < count; ++i)
        largest = std::max(largest, stats.at<int>(i, cv::CC_STAT_AREA));
    std::vector<uchar> keep(size_t(count), 0);
    for (int i = 1; i < count; ++i) {
        const int componentArea = stats.at<int>(i, cv::CC_STAT_AREA);
        keep[size_t(i)] = componentArea >= kKeepShareOfLargest * largest && componentArea >= speck;
    }

    // Holes: background components that do not reach the frame.
    cv::Mat holeLabels, holeStats, holeCentroids;
    const int holes = cv::connectedComponentsWithStats(subject == 0, holeLabels, holeStats, holeCentroids, 4, CV_32S);
    std::vector<uchar> fill(size_t(holes), 0);
    for (int i = 1; i < holes; ++i) {
        const int x = holeStats.at<int>(i, cv::CC_STAT_LEFT);
        const int y = holeStats.at<int>(i, cv::CC_STAT_TOP);
        const bool reachesFrame = x == 0 || y == 0 || x + holeStats.at<int>(i, cv::CC_STAT_WIDTH) == subject.cols
                                  || y + holeStats.at<int>(i, cv::CC_STAT_HEIGHT) == subject.rows;
        fill[size_t(i)] = !reachesFrame && holeStats.at<int>(i, cv::CC_STAT_AREA) < speck;
    }

    for (int y = 0; y < subject.rows; ++y) {
        uchar* row = subject.ptr(y);
        const int* label = labels.ptr<int>(y);
        const int* hole = holeLabels.ptr<int>(y);
        for (int x = 0; x < subject.cols; ++x)
            row[x] = (keep[size_t(label[x])] || fill[size_t(hole[x])]) ? 255 : 0;
    }
}

} // namespace

std::optional<Matte> liftSubject(const Image& image, std::optional<cv::Rect> searchArea)
{
    const cv::Rect frame({0, 0}, image.size());
    const cv::Rect area = searchArea ? (*searchArea & frame) : frame;
    if (area.width < kMinimumSide || area.height < kMinimumSide)
        return std::nullopt;
    const Image view(image.pixels(area), area.tl());

    const WorkCopy copy = workCopy(view);
    if (copy.rgb.cols < kMinimumSide || copy.rgb.rows < kMinimumSide)
        return std::nullopt;
    const int band = std::max(1, int(std::lround(kBandShare * std::min(copy.rgb.cols, copy.rgb.rows))));
    cv::Mat subject;
    if (cv::countNonZero(copy.opaque & frameBand(copy.opaque.size(), band)) == 0) {
        // A cutout on a clear canvas: what is opaque is the subject.
        subject = copy.opaque.clone();
    } else {
        std::optional<cv::Mat> labels = seeds(copy, band);
        if (!labels)
            return std::nullopt;
        // 3. GrabCut. It refuses labels without both kinds of sample.
        try {
            cv::Mat backgroundModel, foregroundModel;
            cv::grabCut(copy.rgb, *labels, cv::Rect(), backgroundModel, foregroundModel, kGrabCutIterations,
                        cv::GC_INIT_WITH_MASK);
        } catch (const cv::Exception&) {
            return std::nullopt;
        }
        subject = ((*labels & 1) != 0) & copy.opaque; // GC_FGD and GC_PR_FGD are the odd labels
    }
    keepComponentsThatMatter(subject);

    const double share = double(cv::countNonZero(subject)) / double(subject.total());
    if (share < kNegligibleShare || share > kWholeFrameShare || edgeContrast(copy.rgb, subject) < kLeastEdgeContrast)
        return std::nullopt;

    // 5. Soft edge at full size, following the image's edges.
    const int radius = std::max(2, int(std::lround(std::min(subject.cols, subject.rows) / 120.0)));
    Matte soft = guidedUpsample(Matte(subject), view, radius, 1e-3);
    if (copy.anyTransparent)
        soft = multiplyCompositing(soft, alphaMatte(view));
    return soft;
}

// --- the engine's entry -----------------------------------------------------------------

namespace {

// The region as whole pixels of the image: its bounding pixels, clipped to the
// frame. nullopt when it is absent, not finite, or misses the frame, so that
// the whole image is searched.
std::optional<cv::Rect> searchAreaFor(const std::optional<QRectF>& region, cv::Size size)
{
    if (!region)
        return std::nullopt;
    const QRectF r = region->normalized();
    const QRectF frame(0, 0, size.width, size.height);
    const QRectF inside = r.intersected(frame);
    if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) || !std::isfinite(r.height())
        || inside.width() <= 0 || inside.height() <= 0)
        return std::nullopt;
    const int left = int(std::floor(inside.left()));
    const int top = int(std::floor(inside.top()));
    const int right = int(std::ceil(inside.right()));
    const int bottom = int(std::ceil(inside.bottom()));
    return cv::Rect(left, top, right - left, bottom - top);
}

} // namespace

MatteBox MatteEngine::visionSubjectMask(const Image& image, std::optional<QRectF> region) const
{
    const cv::Size size = image.size();
    if (size.width < 1 || size.height < 1)
        throw MatteError(MatteErrorKind::noSubjectFound);
    const std::optional<Matte> found = liftSubject(Image(image.pixels), searchAreaFor(region, size));
    if (!found)
        throw MatteError(MatteErrorKind::noSubjectFound);
    Matte whole = Matte::filled(size, 0);
    found->pixels.copyTo(whole.pixels(found->extent()));
    return MatteBox(whole);
}

} // namespace zephrin
