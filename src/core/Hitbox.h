#pragma once

// A collision box, passed by value. The overlap tests read only the four edges; the owner's
// position and move remainders ride along so a box can be re-placed after a move. While the
// box moves by wall crawl, mOwnerZ holds the wall-crawl surface code; mPlacedZ keeps the z the
// owner was last placed at (a moving platform carries its rider at it), and mPlacedZCopy is
// written alongside it and read by nothing.
struct Hitbox
{
    float mLft;
    float mTop;
    float mRgt;
    float mBot;
    float mPlacedZ;
    float mPlacedZCopy;
    float mOwnerX;
    float mOwnerY;
    float mOwnerZ;
    float mRemainderX;
    float mRemainderY;
    float mUnusedC;

    // Moves the edges and the owner's position together; the remainders stay as they are.
    void ShiftX(float pDX)
    {
        mLft += pDX;
        mRgt += pDX;
        mOwnerX += pDX;
    }
    void ShiftY(float pDY)
    {
        mTop += pDY;
        mBot += pDY;
        mOwnerY += pDY;
    }
};

// A box with these four edges and every other field zero.
inline Hitbox HitboxFromEdges(float pLft, float pTop, float pRgt, float pBot)
{
    Hitbox tBox = {};
    tBox.mLft = pLft;
    tBox.mTop = pTop;
    tBox.mRgt = pRgt;
    tBox.mBot = pBot;
    return tBox;
}

// A trigger or camera zone rectangle; the first four floats are its edges. A zone's SetRect
// also stores the centre, which its GetPosition answers.
struct ZoneRect
{
    float mLft;
    float mTop;
    float mRgt;
    float mBot;
    float mCentreX;
    float mCentreY;
};
