// Turns the data objects of a text X file into one merged triangle mesh.
#include <algorithm>
#include <cmath>
#include <strings.h>
#include <unordered_map>

#include "platform/d3dx9/xfile.h"
#include "platform/d3dx9/xfile_objects.h"

namespace d3dx {

namespace {

constexpr uint32_t kNoNormal = 0xFFFFFFFFu;

bool TypeIs(const XObject& object, const char* type) { return strcasecmp(object.type.c_str(), type) == 0; }

// Reads an object's members in order, checking kind and range of each.
class Members {
public:
    explicit Members(const std::vector<XValue>& values) : values_(values) {}

    size_t Remaining() const { return values_.size() - at_; }

    bool Count(uint32_t* out) {
        if (at_ >= values_.size() || values_[at_].isString) return false;
        double v = values_[at_++].number;
        if (!(v >= 0 && v <= 4294967295.0) || v != std::floor(v)) return false;
        *out = static_cast<uint32_t>(v);
        return true;
    }

    bool Float(float* out) {
        if (at_ >= values_.size() || values_[at_].isString) return false;
        double v = values_[at_++].number;
        if (!std::isfinite(v) || std::fabs(v) > 3.0e38) return false;
        *out = static_cast<float>(v);
        return true;
    }

    bool Floats(float* out, int count) {
        for (int i = 0; i < count; ++i)
            if (!Float(out + i)) return false;
        return true;
    }

    bool String(std::string* out) {
        if (at_ >= values_.size() || !values_[at_].isString) return false;
        *out = values_[at_++].text;
        return true;
    }

    // A count whose items take at least `membersEach` members apiece.
    bool CountOf(uint32_t* out, size_t membersEach) { return Count(out) && *out <= Remaining() / membersEach; }

private:
    const std::vector<XValue>& values_;
    size_t at_ = 0;
};

// One Mesh object as the file states it, before vertices are split or moved.
struct RawMesh {
    std::vector<D3DXVECTOR3> positions;
    std::vector<uint32_t> faceStarts;  // faces f has corners [faceStarts[f], faceStarts[f + 1])
    std::vector<uint32_t> corners;
    std::vector<D3DXVECTOR3> normals;
    std::vector<uint32_t> cornerNormals;  // parallel to corners; empty without MeshNormals
    std::vector<D3DXVECTOR2> texcoords;   // empty without MeshTextureCoords
    std::vector<uint32_t> faceMaterials;  // empty without MeshMaterialList
    std::vector<XMaterialData> materials;

    uint32_t FaceCount() const { return static_cast<uint32_t>(faceStarts.size()) - 1; }
    uint32_t Corners(uint32_t face) const { return faceStarts[face + 1] - faceStarts[face]; }
};

class MeshBuilder {
public:
    // `limit` bounds the merged vertex and index counts, so that references
    // to one mesh repeated many times cannot blow a small file up.
    MeshBuilder(const XDocument& document, XMeshData* out, size_t limit)
        : document_(document), out_(out), limit_(limit) {}

    bool AddTopLevel(const XObject& object) {
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        if (TypeIs(object, "Frame")) return AddFrame(object, identity, 1);
        if (TypeIs(object, "Mesh")) return AddMesh(object, identity);
        return true;
    }

    bool Finish() {
        if (meshCount_ == 0) return Fail("no mesh in the file");
        if (!out_->materials.empty() && !facesWithoutMaterial_.empty()) {
            uint32_t white = static_cast<uint32_t>(out_->materials.size());
            out_->materials.push_back(XMaterialData{});
            for (uint32_t face : facesWithoutMaterial_) out_->attributes[face] = white;
        }
        return true;
    }

    const char* Error() const { return error_; }

private:
    bool Fail(const char* why) {
        error_ = why;
        return false;
    }

    bool AddFrame(const XObject& frame, const D3DXMATRIX& parent, int depth) {
        if (depth > kMaxXNesting) return Fail("frames nested too deeply");
        D3DXMATRIX local;
        D3DXMatrixIdentity(&local);
        for (const XChild& child : frame.children) {
            if (child.object && TypeIs(*child.object, "FrameTransformMatrix")) {
                Members members(child.object->values);
                if (!members.Floats(&local._11, 16)) return Fail("malformed FrameTransformMatrix");
                break;
            }
        }
        D3DXMATRIX world;
        D3DXMatrixMultiply(&world, &local, &parent);
        for (const XChild& child : frame.children) {
            const XObject* object = child.object ? child.object.get() : document_.Resolve(child.reference);
            if (!object) continue;
            if (TypeIs(*object, "Mesh")) {
                if (!AddMesh(*object, world)) return false;
            } else if (TypeIs(*object, "Frame") && child.object) {
                if (!AddFrame(*object, world, depth + 1)) return false;
            }
        }
        return true;
    }

    bool ReadGeometry(const XObject& object, RawMesh* mesh) {
        Members members(object.values);
        uint32_t vertexCount = 0;
        if (!members.CountOf(&vertexCount, 3)) return Fail("Mesh vertex count exceeds its data");
        mesh->positions.resize(vertexCount);
        for (D3DXVECTOR3& p : mesh->positions)
            if (!members.Floats(&p.x, 3)) return Fail("malformed Mesh vertex");
        uint32_t faceCount = 0;
        if (!members.CountOf(&faceCount, 4)) return Fail("Mesh face count exceeds its data");
        mesh->faceStarts.reserve(size_t{faceCount} + 1);
        mesh->faceStarts.push_back(0);
        for (uint32_t f = 0; f < faceCount; ++f) {
            uint32_t cornerCount = 0;
            if (!members.CountOf(&cornerCount, 1)) return Fail("Mesh face size exceeds its data");
            if (cornerCount < 3) return Fail("Mesh face with fewer than three corners");
            for (uint32_t k = 0; k < cornerCount; ++k) {
                uint32_t index = 0;
                if (!members.Count(&index) || index >= vertexCount) return Fail("Mesh face index out of range");
                mesh->corners.push_back(index);
            }
            mesh->faceStarts.push_back(static_cast<uint32_t>(mesh->corners.size()));
        }
        return true;
    }

    bool ReadNormals(const XObject& object, RawMesh* mesh) {
        Members members(object.values);
        uint32_t normalCount = 0;
        if (!members.CountOf(&normalCount, 3)) return Fail("MeshNormals count exceeds its data");
        mesh->normals.resize(normalCount);
        for (D3DXVECTOR3& n : mesh->normals)
            if (!members.Floats(&n.x, 3)) return Fail("malformed normal");
        uint32_t faceCount = 0;
        if (!members.Count(&faceCount) || faceCount != mesh->FaceCount())
            return Fail("MeshNormals face count differs from the mesh");
        mesh->cornerNormals.reserve(mesh->corners.size());
        for (uint32_t f = 0; f < faceCount; ++f) {
            uint32_t cornerCount = 0;
            if (!members.Count(&cornerCount) || cornerCount != mesh->Corners(f))
                return Fail("MeshNormals face differs from the mesh face");
            for (uint32_t k = 0; k < cornerCount; ++k) {
                uint32_t index = 0;
                if (!members.Count(&index) || index >= normalCount) return Fail("normal index out of range");
                mesh->cornerNormals.push_back(index);
            }
        }
        return true;
    }

    bool ReadTexcoords(const XObject& object, RawMesh* mesh) {
        Members members(object.values);
        uint32_t count = 0;
        if (!members.Count(&count) || count != mesh->positions.size())
            return Fail("MeshTextureCoords count differs from the vertex count");
        mesh->texcoords.resize(count);
        for (D3DXVECTOR2& t : mesh->texcoords)
            if (!members.Floats(&t.x, 2)) return Fail("malformed texture coordinate");
        return true;
    }

    bool ReadMaterial(const XObject& object, XMaterialData* material) {
        Members members(object.values);
        float values[11];
        if (!members.Floats(values, 11)) return Fail("malformed Material");
        material->diffuse = {values[0], values[1], values[2], values[3]};
        material->power = values[4];
        material->specular = {values[5], values[6], values[7], 1};
        material->emissive = {values[8], values[9], values[10], 1};
        for (const XChild& child : object.children) {
            if (child.object && TypeIs(*child.object, "TextureFilename")) {
                Members name(child.object->values);
                if (!name.String(&material->textureFile)) return Fail("malformed TextureFilename");
                break;
            }
        }
        return true;
    }

    bool ReadMaterialList(const XObject& object, RawMesh* mesh) {
        Members members(object.values);
        uint32_t materialCount = 0, indexCount = 0;
        if (!members.Count(&materialCount)) return Fail("malformed MeshMaterialList");
        // An empty list says nothing about the faces, whatever else it holds.
        if (materialCount == 0) return true;
        if (!members.CountOf(&indexCount, 1)) return Fail("MeshMaterialList counts exceed its data");
        uint32_t faceCount = mesh->FaceCount();
        mesh->faceMaterials.assign(faceCount, 0);
        uint32_t last = 0;
        for (uint32_t i = 0; i < indexCount; ++i) {
            if (!members.Count(&last) || last >= materialCount) return Fail("material index out of range");
            if (i < faceCount) mesh->faceMaterials[i] = last;
        }
        // Lists shorter than the face count repeat their last entry.
        for (uint32_t f = indexCount; f < faceCount; ++f) mesh->faceMaterials[f] = last;
        for (const XChild& child : object.children) {
            if (mesh->materials.size() == materialCount) break;
            const XObject* material = child.object ? child.object.get() : document_.Resolve(child.reference);
            if (!material || !TypeIs(*material, "Material")) continue;
            XMaterialData data;
            if (!ReadMaterial(*material, &data)) return false;
            mesh->materials.push_back(std::move(data));
        }
        if (mesh->materials.size() != materialCount) return Fail("MeshMaterialList lacks materials");
        return true;
    }

    bool AddMesh(const XObject& object, const D3DXMATRIX& world) {
        RawMesh mesh;
        if (!ReadGeometry(object, &mesh)) return false;
        bool haveNormals = false, haveTexcoords = false, haveMaterials = false;
        for (const XChild& child : object.children) {
            if (!child.object) continue;
            const XObject& part = *child.object;
            if (TypeIs(part, "MeshNormals") && !haveNormals) {
                if (!ReadNormals(part, &mesh)) return false;
                haveNormals = true;
            } else if (TypeIs(part, "MeshTextureCoords") && !haveTexcoords) {
                if (!ReadTexcoords(part, &mesh)) return false;
                haveTexcoords = true;
            } else if (TypeIs(part, "MeshMaterialList") && !haveMaterials) {
                if (!ReadMaterialList(part, &mesh)) return false;
                haveMaterials = true;
            }
        }
        size_t added = mesh.positions.size() + mesh.corners.size() * 4;
        if (added > limit_ - std::min(limit_, out_->positions.size() + out_->indices.size()))
            return Fail("meshes expand far beyond the file size");
        Append(mesh, world);
        ++meshCount_;
        return true;
    }

    // Splits vertices whose corners carry different normals, moves everything
    // by `world`, fans the polygons and appends the result.
    void Append(const RawMesh& mesh, const D3DXMATRIX& world) {
        uint32_t base = static_cast<uint32_t>(out_->positions.size());
        uint32_t vertexCount = static_cast<uint32_t>(mesh.positions.size());
        std::vector<uint32_t> firstNormal(vertexCount, kNoNormal);
        std::vector<uint32_t> source(vertexCount);
        for (uint32_t v = 0; v < vertexCount; ++v) source[v] = v;
        std::unordered_map<uint64_t, uint32_t> splits;
        std::vector<uint32_t> cornerVertex(mesh.corners.size());
        for (size_t k = 0; k < mesh.corners.size(); ++k) {
            uint32_t v = mesh.corners[k];
            uint32_t vertex = v;
            if (!mesh.cornerNormals.empty()) {
                uint32_t n = mesh.cornerNormals[k];
                if (firstNormal[v] == kNoNormal) {
                    firstNormal[v] = n;
                } else if (firstNormal[v] != n) {
                    auto [slot, added] = splits.try_emplace(uint64_t{v} << 32 | n, 0);
                    if (added) {
                        slot->second = static_cast<uint32_t>(source.size());
                        source.push_back(v);
                        firstNormal.push_back(n);
                    }
                    vertex = slot->second;
                }
            }
            cornerVertex[k] = vertex;
        }

        D3DXMATRIX normalMatrix = world, inverse;
        if (D3DXMatrixInverse(&inverse, nullptr, &world)) D3DXMatrixTranspose(&normalMatrix, &inverse);
        for (size_t i = 0; i < source.size(); ++i) {
            uint32_t v = source[i];
            D3DXVECTOR3 position;
            D3DXVec3TransformCoord(&position, &mesh.positions[v], &world);
            out_->positions.push_back(position);
            D3DXVECTOR3 normal;
            if (firstNormal[i] != kNoNormal) {
                D3DXVec3TransformNormal(&normal, &mesh.normals[firstNormal[i]], &normalMatrix);
                D3DXVec3Normalize(&normal, &normal);
            }
            out_->normals.push_back(normal);
            out_->texcoords.push_back(mesh.texcoords.empty() ? D3DXVECTOR2() : mesh.texcoords[v]);
        }

        uint32_t materialBase = static_cast<uint32_t>(out_->materials.size());
        for (uint32_t f = 0; f < mesh.FaceCount(); ++f) {
            uint32_t first = mesh.faceStarts[f];
            for (uint32_t k = 1; k + 1 < mesh.Corners(f); ++k) {
                out_->indices.push_back(base + cornerVertex[first]);
                out_->indices.push_back(base + cornerVertex[first + k]);
                out_->indices.push_back(base + cornerVertex[first + k + 1]);
                if (mesh.faceMaterials.empty()) {
                    facesWithoutMaterial_.push_back(static_cast<uint32_t>(out_->attributes.size()));
                    out_->attributes.push_back(0);
                } else {
                    out_->attributes.push_back(materialBase + mesh.faceMaterials[f]);
                }
            }
        }
        out_->materials.insert(out_->materials.end(), mesh.materials.begin(), mesh.materials.end());
    }

    const XDocument& document_;
    XMeshData* out_;
    size_t limit_;
    int meshCount_ = 0;
    std::vector<uint32_t> facesWithoutMaterial_;
    const char* error_ = "";
};

}  // namespace

XMeshResult ParseXMesh(const uint8_t* data, size_t size, XMeshData* mesh, std::string* error) {
    *mesh = XMeshData{};
    XDocument document;
    switch (ReadXDocument(data, size, &document, error)) {
    case XReadResult::NotText: return XMeshResult::NotText;
    case XReadResult::Malformed: return XMeshResult::Malformed;
    case XReadResult::Ok: break;
    }
    MeshBuilder builder(document, mesh, 8 * size + 1024);
    for (const auto& object : document.objects) {
        if (!builder.AddTopLevel(*object)) {
            if (error) *error = std::string("X file: ") + builder.Error();
            *mesh = XMeshData{};
            return XMeshResult::Malformed;
        }
    }
    if (!builder.Finish()) {
        if (error) *error = std::string("X file: ") + builder.Error();
        *mesh = XMeshData{};
        return XMeshResult::Malformed;
    }
    return XMeshResult::Ok;
}

}  // namespace d3dx
