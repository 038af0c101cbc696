#pragma once

#include <list>

#include "math/Vector.h"

namespace kov {

// Base of everything drawn in 3-D: a local transform, a material and an
// ordered list of children. A parent applies each child's transform and
// material, then asks the child to draw itself.
class ISceneNode {
public:
    ISceneNode();
    ~ISceneNode() = default;
    // Nodes are globals linked by plain pointers; a copy would duplicate the links.
    ISceneNode(const ISceneNode&) = delete;
    ISceneNode& operator=(const ISceneNode&) = delete;

    // Draws the children; a derived node draws its own geometry first and then
    // calls this. Returns false when any child returned false.
    virtual bool Draw();

    // Hands the material to OpenGL for front and back faces. The parent does so
    // before Draw; a node that draws its own geometry after its children does
    // so again.
    void ApplyMaterial() const;

    void SetPosition(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetAmbient(float r, float g, float b, float a);
    void SetDiffuse(float r, float g, float b, float a);
    void SetSpecular(float r, float g, float b, float a);
    void SetShininess(float s);

    CVector3 vPosition;
    CVector3 vRotation;  // degrees about x, y and z
    CVector3 vScale;
    float fAmbient[4];
    float fDiffuse[4];
    float fEmission[4];
    float fSpecular[4];
    float fShininess;
    std::list<ISceneNode*> Children;  // not owned
};

}  // namespace kov
