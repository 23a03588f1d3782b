// Scene meshes: a loaded mesh with its materials and a transform.
#pragma once

#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "resources/mesh_record.h"

struct MeshPath;

namespace Mirel {

class ITransform {
public:
    ITransform();
    virtual ~ITransform() = default;
    ITransform(const ITransform&) = default;
    ITransform& operator=(const ITransform&) = default;

    // world = RotationYawPitchRoll(rotation.y, rotation.x, rotation.z) x Translation(position);
    // worldInvTranspose = inverse(transpose(world)).
    void UpdateTransform();

    D3DXMATRIX world;
    D3DXMATRIX worldInvTranspose;
    D3DXVECTOR3 position;
    D3DXVECTOR3 rotation;  // x pitch, y yaw, z roll (radians)
};

class XMeshObj : public ITransform {
public:
    explicit XMeshObj(const MeshRecord& record);
    ~XMeshObj() override = default;
    XMeshObj(const XMeshObj&) = default;
    XMeshObj& operator=(const XMeshObj&) = default;

    ID3DXMesh* mesh = nullptr;  // owned by the resource manager
    uint32_t materialCount = 0;
    std::vector<MeshMaterial> materials;
    MeshPath* meshPath = nullptr;
    float meshPathStart = 0.0f;
};

}  // namespace Mirel
