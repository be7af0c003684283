#include "output/ase_writer.h"

#include "model/project_file.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/atomic_file.h"
#include "util/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace meshforge {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kSeparator = " \r\n";

// One line built in place and appended once: the writer's time goes into number lines.
struct LineBuf {
    char text[256];
    char* at = text;
    LineBuf& operator<<(std::string_view part) {
        at = std::copy(part.begin(), part.end(), at);
        return *this;
    }
    LineBuf& Int(long long v) {
        at = std::to_chars(at, text + sizeof text, v).ptr;
        return *this;
    }
    LineBuf& Fixed(float v, int decimals) {
        at = WriteFixed(at, v, decimals);
        return *this;
    }
    void AppendTo(TextSink& out) {
        *at++ = '\r';
        *at++ = '\n';
        out.append(text, at);
    }
};

// System colours (0x80000000 + index) resolved with the classic desktop palette, in index
// order; nullopt for values that are no colour at all (clNone, clDefault, stray high bits).
std::optional<uint32_t> ResolveColor(uint32_t c) {
    if ((c & 0xFF000000u) == 0)
        return c;
    static constexpr uint32_t kSystem[] = {
        0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
        0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
        0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};
    const uint32_t index = c & 0x00FFFFFFu;
    if ((c & 0xFF000000u) == 0x80000000u && index < std::size(kSystem))
        return kSystem[index];
    return std::nullopt;
}

void F5(TextSink& out, float v) {
    AppendFixed(out, v, 5);
}

const Vertex& Corner(const Project& p, const ObjectData& polygon, int k) {
    return p.Vertices[static_cast<std::size_t>(polygon.VertexIndices[static_cast<std::size_t>(k)])];
}

int CornerCount(const ObjectData& polygon) {
    return std::max(polygon.VertexCount() - 1, 0);
}

void WriteMaterials(TextSink& out, const Project& p, std::vector<std::string>* notes) {
    for (std::size_t t = 0; t < p.Textures.size(); ++t) {
        const TextureData& tex = p.Textures[t];
        std::optional<uint32_t> color = ResolveColor(tex.BackColor);
        if (!color) {
            color = kUndeterminedBackColor;
            if (notes)
                notes->push_back("Texture " + std::to_string(t) + ": background colour " +
                                 FormatColor(tex.BackColor) +
                                 " is no colour, written as 221,221,221");
        }
        out += "*MATERIAL " + std::to_string(t);
        out += kEol;
        out += "*MATERIAL_DIFFUSE ";
        out += FormatFixed(double((*color >> 16) & 0xFF) / 255.0, 5);
        out += ' ';
        out += FormatFixed(double((*color >> 8) & 0xFF) / 255.0, 5);
        out += ' ';
        out += FormatFixed(double(*color & 0xFF) / 255.0, 5);
        out += kEol;
        const std::string_view name = FileNamePart(tex.Filename);
        out += "*BITMAP \"";
        out += name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
        out += '"';
        out += kEol;
    }
    out += kSeparator;
}

void WriteVertexLine(TextSink& out, int k, const Vertex& v) {
    LineBuf line;
    line << "*MESH_VERTEX ";
    line.Int(k) << " ";
    line.Fixed(v.X, 5) << " ";
    line.Fixed(v.Y, 5) << " ";
    line.Fixed(v.Z, 5).AppendTo(out);
}

void WriteMesh(TextSink& out, const Project& p, const ObjectData& polygon) {
    const int n = CornerCount(polygon);
    out += "*GEOMOBJECT";
    out += kEol;
    for (int k = 0; k < n; ++k)
        WriteVertexLine(out, k, Corner(p, polygon, k));
    out += kSeparator;
    out += "*DISPLAY_CLASS ";
    AppendInt(out, p.DisplayClass);
    out += kEol;
    out += kSeparator;
    for (int k = 0; k + 2 < n; ++k) {
        LineBuf line;
        line << "*MESH_FACE ";
        line.Int(k) << " A: ";
        line.Int(k + 2) << " B: ";
        line.Int(k + 1) << " C: 0 AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 2 *MESH_MTLID 1";
        line.AppendTo(out);
    }
    out += kSeparator;
    for (int k = 0; k < n; ++k) {
        // A corner the file left without a pair gets the default one, not (0, 0).
        const TexCoord c = static_cast<std::size_t>(k) < polygon.TexCoords.size()
                               ? polygon.TexCoords[static_cast<std::size_t>(k)]
                               : DefaultTexCoord(k);
        LineBuf line;
        line << "*MESH_TVERT ";
        line.Int(k) << " ";
        line.Fixed(c.U, 5) << " ";
        line.Fixed(c.V, 5) << " 0.0000";
        line.AppendTo(out);
    }
    out += kSeparator;
    for (int k = 0; k + 2 < n; ++k) {
        LineBuf line;
        line << "*MESH_TFACE ";
        line.Int(k) << " ";
        line.Int(k + 2) << " ";
        line.Int(k + 1) << " 0";
        line.AppendTo(out);
    }
    out += kSeparator;
    out += "*MATERIAL_REF ";
    AppendInt(out, polygon.TextureIndex);
    out += kEol;
    out += kSeparator;
    out += kSeparator;
}

void WriteLine(TextSink& out, const Project& p, const ObjectData& line) {
    out += "*LINEOBJECT";
    out += kEol;
    for (int k = 0; k < 2; ++k)
        WriteVertexLine(out, k, Corner(p, line, k));
    out += "*LINECOLOR ";
    F5(out, line.Color.R);
    out += ' ';
    F5(out, line.Color.G);
    out += ' ';
    F5(out, line.Color.B);
    out += kEol;
    out += kSeparator;
    out += kSeparator;
}

void WriteCollision(TextSink& out, const Project& p) {
    out += "*COLLISION_VOLUMES " + std::to_string(p.CollVols.size());
    out += kEol;
    out += kSeparator;
    for (const CollVol& v : p.CollVols) {
        out += "*COLLISION_PLANES " + std::to_string(v.PlaneCount());
        out += kEol;
        for (std::size_t j = 0; j < v.PolygonIndices.size(); ++j) {
            const ObjectData& polygon = p.Polygons[static_cast<std::size_t>(v.PolygonIndices[j])];
            const PlaneEquation e = CollisionPlane(p, polygon).value_or(PlaneEquation{});
            const int32_t rebound = j < v.Rebounds.size() ? v.Rebounds[j] : 0;
            out += "*COLLISION_PLANE ";
            AppendInt(out, rebound);
            for (float x : {e.A, e.B, e.C, e.D}) {
                out += ' ';
                AppendFixed(out, x, 3);
            }
            out += kEol;
        }
        out += kSeparator;
    }
}

} // namespace

std::optional<PlaneEquation> CollisionPlane(const Project& p, const ObjectData& polygon) {
    const int n = CornerCount(polygon);
    double nx = 0, ny = 0, nz = 0, d = 0;
    if (n >= 3) {
        const Vertex &v1 = Corner(p, polygon, 0), &v2 = Corner(p, polygon, 1),
                     &v3 = Corner(p, polygon, 2);
        const double x1 = v1.X, y1 = v1.Y, z1 = v1.Z, x2 = v2.X, y2 = v2.Y, z2 = v2.Z;
        const double x3 = v3.X, y3 = v3.Y, z3 = v3.Z;
        nx = y1 * (z2 - z3) + y2 * (z3 - z1) + y3 * (z1 - z2);
        ny = z1 * (x2 - x3) + z2 * (x3 - x1) + z3 * (x1 - x2);
        nz = x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2);
        d = x1 * (y2 * z3 - y3 * z2) + x2 * (y3 * z1 - y1 * z3) + x3 * (y1 * z2 - y2 * z1);
    }
    if (nx == 0 && ny == 0 && nz == 0) {
        // Collinear first corners: Newell's normal over the whole ring, through its centroid.
        double cx = 0, cy = 0, cz = 0;
        for (int k = 0; k < n; ++k) {
            const Vertex& a = Corner(p, polygon, k);
            const Vertex& b = Corner(p, polygon, (k + 1) % n);
            nx += (double(a.Y) - b.Y) * (double(a.Z) + b.Z);
            ny += (double(a.Z) - b.Z) * (double(a.X) + b.X);
            nz += (double(a.X) - b.X) * (double(a.Y) + b.Y);
            cx += a.X;
            cy += a.Y;
            cz += a.Z;
        }
        if (nx == 0 && ny == 0 && nz == 0)
            return std::nullopt;
        d = (nx * cx + ny * cy + nz * cz) / n;
    }
    const float s = 1.0f / std::sqrt(static_cast<float>(nx * nx + ny * ny + nz * nz));
    return PlaneEquation{static_cast<float>(-nx * s), static_cast<float>(-ny * s),
                         static_cast<float>(-nz * s), static_cast<float>(d * s)};
}

std::optional<std::string> AseProblem(const Project& p) {
    for (std::size_t v = 0; v < p.CollVols.size(); ++v)
        for (int32_t i : p.CollVols[v].PolygonIndices) {
            if (i < 0 || static_cast<std::size_t>(i) >= p.Polygons.size())
                return "Collision volume " + std::to_string(v) + " names polygon " +
                       std::to_string(i) + ", which does not exist !";
            if (!CollisionPlane(p, p.Polygons[static_cast<std::size_t>(i)]))
                return "Polygon " + std::to_string(i) + " of collision volume " +
                       std::to_string(v) + " has no area: it has no plane to collide with !";
        }
    return std::nullopt;
}

void WriteAseText(const Project& p, TextSink& out, std::vector<std::string>* notes) {
    out += "*COMMENT \">>>> - Exported by ";
    out += kProgramName;
    out += " - <<<<\"";
    out += kEol;
    out += "*COMMENT \"Caution: Crippled ASE file - Do not use with 3DSMAX !\"";
    out += kEol;
    out += kSeparator;
    if (!p.Polygons.empty())
        WriteMaterials(out, p, notes);
    for (const ObjectData& polygon : p.Polygons)
        WriteMesh(out, p, polygon);
    for (const ObjectData& line : p.Lines)
        WriteLine(out, p, line);
    if (!p.CollVols.empty())
        WriteCollision(out, p);
}

std::string AseFileText(const Project& p, std::vector<std::string>* notes) {
    StringSink out;
    WriteAseText(p, out, notes);
    return out.Take();
}

bool WriteAseFile(const Project& project, const std::string& path, Ui& ui) {
    if (auto problem = AseProblem(project)) {
        ui.Message(*problem);
        return false;
    }
    std::vector<std::string> notes;
    try {
        AtomicFileWriter out(path);
        WriteAseText(project, out, &notes);
        out.Commit();
    } catch (const FileError& e) {
        ui.Message(e.what());
        return false;
    }
    for (const std::string& note : notes)
        ui.Log(note);
    ui.Log("ASE-file " + path + " saved !");
    return true;
}

} // namespace meshforge
