#include "tools/Coastlines.h"

#include <netcdf.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// A segment's packed word: its point count above bit 9, then the level (3
// bits), the bin side it leaves and the side it enters by (3 bits each; 4 for
// a segment that closes within its bin).
constexpr unsigned PointCountShift = 9;
constexpr unsigned LevelShift = 6;
constexpr unsigned LevelMask = 7;

// A world map draws the sea's shores (level 1) and the shores of the lakes
// (level 2) large enough to show at its scale: the thirty-odd largest, from
// the Caspian down to about Lake Nicaragua. Thousands of small lakes would only
// speckle the land.
constexpr unsigned SeaShore = 1;
constexpr unsigned LakeShore = 2;
constexpr double SmallestLakeKm2 = 5000;

// Relative coordinates run over 0..65535 across the bin's side.
constexpr double RelativeUnits = 65535;
constexpr int MinutesAround = 360 * 60;
constexpr int MinutesPole = 180 * 60;

class NetcdfFile {
public:
    explicit NetcdfFile(const std::string& path) { status_ = nc_open(path.c_str(), NC_NOWRITE, &id_); }
    ~NetcdfFile()
    {
        if (status_ == NC_NOERR)
            nc_close(id_);
    }
    NetcdfFile(const NetcdfFile&) = delete;
    NetcdfFile& operator=(const NetcdfFile&) = delete;

    int Status() const { return status_; }

    // A variable of one dimension, whole; none when it is missing or has
    // another shape.
    template <typename T>
    std::optional<std::vector<T>> Read(const char* name) const
    {
        int variable = 0, dimensions = 0, dimension = 0;
        std::size_t length = 0;
        if (nc_inq_varid(id_, name, &variable) != NC_NOERR || nc_inq_varndims(id_, variable, &dimensions) != NC_NOERR ||
            dimensions != 1 || nc_inq_vardimid(id_, variable, &dimension) != NC_NOERR ||
            nc_inq_dimlen(id_, dimension, &length) != NC_NOERR)
            return std::nullopt;
        std::vector<T> values(length);
        if (length > 0 && Get(variable, values.data()) != NC_NOERR)
            return std::nullopt;
        return values;
    }

    std::optional<int> Scalar(const char* name) const
    {
        const std::optional<std::vector<int>> values = Read<int>(name);
        if (!values || values->size() != 1)
            return std::nullopt;
        return values->front();
    }

private:
    int Get(int variable, int* values) const { return nc_get_var_int(id_, variable, values); }
    int Get(int variable, short* values) const { return nc_get_var_short(id_, variable, values); }
    int Get(int variable, double* values) const { return nc_get_var_double(id_, variable, values); }

    int id_ = -1;
    int status_ = NC_NOERR;
};

Coastlines Failed(const std::string& path, const std::string& why)
{
    Coastlines none;
    none.Problem = path + " " + why;
    return none;
}

} // namespace

Coastlines ReadCoastlines(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return Failed(path, errno == ENOENT ? "is missing" : std::string("cannot be read: ") + std::strerror(errno));
    const NetcdfFile file(path);
    if (file.Status() != NC_NOERR)
        return Failed(path, std::string("cannot be read: ") + nc_strerror(file.Status()));

    const std::optional<int> binMinutes = file.Scalar("Bin_size_in_minutes");
    const std::optional<int> binsAround = file.Scalar("N_bins_in_360_longitude_range");
    const std::optional<int> binsPole = file.Scalar("N_bins_in_180_degree_latitude_range");
    const auto firstSegment = file.Read<int>("Id_of_first_segment_in_a_bin");
    const auto segmentCount = file.Read<short>("N_segments_in_a_bin");
    const auto packed = file.Read<int>("Embedded_npts_levels_exit_entry_for_a_segment");
    const auto firstPoint = file.Read<int>("Id_of_first_point_in_a_segment");
    const auto polygonOf = file.Read<int>("Id_of_GSHHS_ID");
    const auto polygonArea = file.Read<double>("The_km_squared_area_of_polygons");
    const auto dx = file.Read<short>("Relative_longitude_from_SW_corner_of_bin");
    const auto dy = file.Read<short>("Relative_latitude_from_SW_corner_of_bin");
    if (!binMinutes || !binsAround || !binsPole || !firstSegment || !segmentCount || !packed || !firstPoint || !polygonOf ||
        !polygonArea || !dx || !dy)
        return Failed(path, "is not a binned shoreline file");
    if (*binMinutes <= 0 || *binsAround <= 0 || *binsPole <= 0 ||
        static_cast<long>(*binMinutes) * *binsAround != MinutesAround ||
        static_cast<long>(*binMinutes) * *binsPole != MinutesPole ||
        firstSegment->size() != static_cast<std::size_t>(*binsAround) * static_cast<std::size_t>(*binsPole) ||
        segmentCount->size() != firstSegment->size() || firstPoint->size() != packed->size() ||
        polygonOf->size() != packed->size() ||
        dy->size() != dx->size())
        return Failed(path, "has bins or arrays that do not fit together");

    const double binDegrees = *binMinutes / 60.0;
    Coastlines coastlines;
    for (std::size_t bin = 0; bin < firstSegment->size(); ++bin) {
        const long first = (*firstSegment)[bin], count = (*segmentCount)[bin];
        if (first < 0 || count < 0 || static_cast<std::size_t>(first + count) > packed->size())
            return Failed(path, "has a bin whose segments lie outside the file");
        // Bins run west to east from 0°, rows from the north; bins east of
        // 180° are drawn west of the date line.
        const auto row = static_cast<double>(bin / static_cast<std::size_t>(*binsAround));
        const auto column = static_cast<double>(bin % static_cast<std::size_t>(*binsAround));
        double west = column * binDegrees;
        if (west >= 180)
            west -= 360;
        const double south = 90 - (row + 1) * binDegrees;
        for (long segment = first; segment < first + count; ++segment) {
            const auto word = static_cast<std::uint32_t>((*packed)[static_cast<std::size_t>(segment)]);
            const unsigned level = (word >> LevelShift) & LevelMask;
            const long points = static_cast<long>(word >> PointCountShift);
            const long start = (*firstPoint)[static_cast<std::size_t>(segment)];
            if (start < 0 || static_cast<std::size_t>(start + points) > dx->size())
                return Failed(path, "has a segment whose points lie outside the file");
            const int polygon = (*polygonOf)[static_cast<std::size_t>(segment)];
            if (polygon < 0 || static_cast<std::size_t>(polygon) >= polygonArea->size())
                return Failed(path, "has a segment of a polygon that is not in the file");
            const bool drawn = level == SeaShore ||
                               (level == LakeShore && (*polygonArea)[static_cast<std::size_t>(polygon)] >= SmallestLakeKm2);
            if (!drawn || points < 2)
                continue;
            GeoLine line;
            line.reserve(static_cast<std::size_t>(points));
            for (long p = start; p < start + points; ++p) {
                // The fractions are unsigned 16-bit values stored in signed shorts.
                const auto fx = static_cast<std::uint16_t>((*dx)[static_cast<std::size_t>(p)]);
                const auto fy = static_cast<std::uint16_t>((*dy)[static_cast<std::size_t>(p)]);
                line.push_back({west + fx / RelativeUnits * binDegrees, south + fy / RelativeUnits * binDegrees});
            }
            coastlines.Lines.push_back(std::move(line));
        }
    }
    return coastlines;
}
