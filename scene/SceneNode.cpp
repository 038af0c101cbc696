#include "scene/SceneNode.h"

#include <GL/gl.h>

namespace kov {

namespace {

void SetColor(float* pColor, float r, float g, float b, float a) {
    pColor[0] = r;
    pColor[1] = g;
    pColor[2] = b;
    pColor[3] = a;
}

// The child's translation, rotation (about z first, then y, then x) and scale.
void ApplyTransform(const ISceneNode& node) {
    glTranslatef(node.vPosition.x, node.vPosition.y, node.vPosition.z);
    glRotatef(node.vRotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(node.vRotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(node.vRotation.z, 0.0f, 0.0f, 1.0f);
    glScalef(node.vScale.x, node.vScale.y, node.vScale.z);
}

}  // namespace

ISceneNode::ISceneNode() {
    SetVector(&vPosition, 0.0f, 0.0f, 0.0f);
    SetVector(&vRotation, 0.0f, 0.0f, 0.0f);
    SetVector(&vScale, 1.0f, 1.0f, 1.0f);
    SetColor(fAmbient, 0.5f, 0.5f, 0.5f, 1.0f);
    SetColor(fDiffuse, 0.8f, 0.8f, 0.8f, 1.0f);
    SetColor(fEmission, 0.0f, 0.0f, 0.0f, 1.0f);
    SetColor(fSpecular, 0.5f, 0.5f, 0.5f, 1.0f);
    fShininess = 50.0f;
}

bool ISceneNode::Draw() {
    bool bResult = true;
    for (auto itNode = Children.begin(); itNode != Children.end(); ++itNode) {
        ISceneNode& child = **itNode;
        glPushMatrix();
        ApplyTransform(child);
        child.ApplyMaterial();
        // Every child draws, even after a sibling has failed.
        bResult = child.Draw() && bResult;
        glPopMatrix();
    }
    return bResult;
}

void ISceneNode::ApplyMaterial() const {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, fAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, fDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, fEmission);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, fSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, fShininess);
}

void ISceneNode::SetPosition(float x, float y, float z) { SetVector(&vPosition, x, y, z); }
void ISceneNode::SetScale(float x, float y, float z) { SetVector(&vScale, x, y, z); }
void ISceneNode::SetAmbient(float r, float g, float b, float a) { SetColor(fAmbient, r, g, b, a); }
void ISceneNode::SetDiffuse(float r, float g, float b, float a) { SetColor(fDiffuse, r, g, b, a); }
void ISceneNode::SetSpecular(float r, float g, float b, float a) { SetColor(fSpecular, r, g, b, a); }
void ISceneNode::SetShininess(float s) { fShininess = s; }

}  // namespace kov
