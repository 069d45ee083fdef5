// genplayerart: draws Kestra's in-game pictures: her body poses, the teleport beam and the
// death bursts (genshotart draws her shots, sparks and dust).
//
//     genplayerart OUTPUT_DIRECTORY
//
// OUTPUT_DIRECTORY is the game's "Data/Graphics/Generated/Player/"; the scripts under
// "Data/Scripts/Player/" load every picture from there by the names written here.
//
// Body frames are 96 by 96 and face right. The engine draws them 40 units left of and 30
// above the player's 19 by 52 box, mirrored 4 units further right when she faces left, so the
// box spans columns 40 to 59 and rows 30 to 82 and her centre line is column 49.5: the
// mirror then lands her on the same spot. The beam and death pictures are drawn by the engine
// from fixed offsets far above her, which is why they are so tall.
//
// Body colours are drawn flat and exact: the weapon palettes swap them by exact match, so the
// four colours below must stay equal to the "Kestra" palette's base colours.
#include "ArtCanvas.h"
#include <cmath>

static const unsigned char cBody[3] = {0x30, 0x60, 0xD0};
static const unsigned char cWing[3] = {0x20, 0x40, 0xA0};
static const unsigned char cBelly[3] = {0xF0, 0xE0, 0xB0};
static const unsigned char cBeak[3] = {0xF0, 0xA0, 0x20};

#define BODY_SIZE 96
// Where the body frame sits inside the beam and the two death pictures.
#define BEAM_BODY_X 121.5f
#define BEAM_BODY_Y 498.0f
#define DEATH_GROUND_BODY_X 82.5f
#define DEATH_AIR_BODY_X 102.5f
#define DEATH_AIR_BODY_Y 378.0f

static ALLEGRO_COLOR Rgb(const unsigned char *pRGB)
{
    return al_map_rgb(pRGB[0], pRGB[1], pRGB[2]);
}

// ---------------------------------------------------------------------------------------------
// The body. Offsets are in frame pixels: legs from the hip, arms from the shoulder.
struct Pose
{
    float mBodyX, mBodyY; // whole body shift
    float mLean;          // radians; positive tips the upper body forward about the hip
    float mFrontKnee[2], mFrontFoot[2];
    float mBackKnee[2], mBackFoot[2];
    float mFrontElbow[2], mFrontHand[2];
    float mBackElbow[2], mBackHand[2];
    bool mBuster;   // the front hand holds the buster out
    int mEye;       // 0 open, 1 shut, 2 squeezed in pain
    bool mBeakOpen;
    float mCrest;   // crest lift, 0 to 1
};

static Pose Standing()
{
    Pose tPose = {0, 0, 0.0f,
                  {2, 9}, {3, 18}, {-2, 9}, {-3, 18},
                  {3, 8}, {5, 15}, {-3, 8}, {-5, 14},
                  false, 0, false, 0.0f};
    return tPose;
}

static Pose WithBuster(Pose pPose)
{
    pPose.mFrontElbow[0] = 8;
    pPose.mFrontElbow[1] = 0;
    pPose.mFrontHand[0] = 16;
    pPose.mFrontHand[1] = -2;
    pPose.mBuster = true;
    return pPose;
}

static void Set2(float *pOut, float pX, float pY)
{
    pOut[0] = pX;
    pOut[1] = pY;
}

static void Limb(float pX0, float pY0, float pX1, float pY1, float pX2, float pY2, float pThick, ALLEGRO_COLOR pColour)
{
    al_draw_line(pX0, pY0, pX1, pY1, pColour, pThick);
    al_draw_line(pX1, pY1, pX2, pY2, pColour, pThick);
    al_draw_filled_circle(pX1, pY1, pThick * 0.5f, pColour);
}

static void Leg(float pHipX, float pHipY, const float *pKnee, const float *pFoot)
{
    ALLEGRO_COLOR tLeg = Rgb(cBeak);
    const float tKX = pHipX + pKnee[0], tKY = pHipY + pKnee[1];
    const float tFX = pHipX + pFoot[0], tFY = pHipY + pFoot[1];
    Limb(pHipX, pHipY, tKX, tKY, tFX, tFY, 3.0f, tLeg);
    // Three toes forward and one back, so the feet read as a bird's.
    al_draw_line(tFX, tFY - 1, tFX + 5, tFY - 1, tLeg, 2.0f);
    al_draw_line(tFX, tFY - 1, tFX + 4, tFY - 3, tLeg, 2.0f);
    al_draw_line(tFX, tFY - 1, tFX - 3, tFY - 1, tLeg, 2.0f);
}

static void Arm(float pShX, float pShY, const float *pElbow, const float *pHand, bool pBuster)
{
    ALLEGRO_COLOR tWing = Rgb(cWing);
    const float tEX = pShX + pElbow[0], tEY = pShY + pElbow[1];
    const float tHX = pShX + pHand[0], tHY = pShY + pHand[1];
    // Flight feathers hang under the forearm.
    al_draw_filled_triangle(tEX, tEY, tHX, tHY, (tEX + tHX) * 0.5f - 1, (tEY + tHY) * 0.5f + 6, tWing);
    Limb(pShX, pShY, tEX, tEY, tHX, tHY, 4.0f, tWing);
    if(pBuster)
    {
        float tDX = tHX - tEX, tDY = tHY - tEY;
        float tLen = sqrtf(tDX * tDX + tDY * tDY);
        if(tLen < 0.01f) tLen = 1.0f;
        tDX /= tLen;
        tDY /= tLen;
        al_draw_line(tHX - tDX * 2, tHY - tDY * 2, tHX + tDX * 8, tHY + tDY * 8, al_map_rgb(80, 84, 110), 8.0f);
        al_draw_line(tHX - tDX * 1, tHY - tDY * 1, tHX + tDX * 7, tHY + tDY * 7, al_map_rgb(200, 204, 220), 5.0f);
        al_draw_filled_circle(tHX + tDX * 8, tHY + tDY * 8, 2.0f, al_map_rgb(250, 240, 140));
    }
    else
    {
        al_draw_filled_circle(tHX, tHY, 2.5f, Rgb(cBelly));
    }
}

// Rotates a point about the hip by the lean.
static void Lean(const Pose &pPose, float pHipX, float pHipY, float pX, float pY, float &sX, float &sY)
{
    const float tC = cosf(pPose.mLean), tS = sinf(pPose.mLean);
    const float tDX = pX - pHipX, tDY = pY - pHipY;
    sX = pHipX + tDX * tC - tDY * tS;
    sY = pHipY + tDX * tS + tDY * tC;
}

static void DrawBody(const Pose &pPose)
{
    const float tHipX = 50 + pPose.mBodyX;
    const float tHipY = 64 + pPose.mBodyY;
    float tShX, tShY, tHeadX, tHeadY, tChestX, tChestY;
    Lean(pPose, tHipX, tHipY, tHipX, tHipY - 14, tShX, tShY);
    Lean(pPose, tHipX, tHipY, tHipX + 3, tHipY - 24, tHeadX, tHeadY);
    Lean(pPose, tHipX, tHipY, tHipX, tHipY - 9, tChestX, tChestY);

    Leg(tHipX - 2, tHipY, pPose.mBackKnee, pPose.mBackFoot);
    Arm(tShX - 1, tShY, pPose.mBackElbow, pPose.mBackHand, false);

    // Tail feathers fan out behind the hip.
    float tTailX, tTailY;
    Lean(pPose, tHipX, tHipY, tHipX - 15, tHipY + 5, tTailX, tTailY);
    al_draw_filled_triangle(tHipX - 4, tHipY - 5, tHipX - 1, tHipY + 2, tTailX, tTailY, Rgb(cWing));
    al_draw_filled_triangle(tHipX - 4, tHipY - 3, tHipX, tHipY + 1, tTailX + 2, tTailY + 5, Rgb(cWing));

    // Torso, the feather skirt at the hip, and the pale front.
    ALLEGRO_TRANSFORM tOld, tTilt;
    al_copy_transform(&tOld, al_get_current_transform());
    al_identity_transform(&tTilt);
    al_translate_transform(&tTilt, -tChestX, -tChestY);
    al_rotate_transform(&tTilt, pPose.mLean);
    al_translate_transform(&tTilt, tChestX, tChestY);
    al_compose_transform(&tTilt, &tOld);
    al_use_transform(&tTilt);
    al_draw_filled_triangle(tChestX - 8, tChestY + 5, tChestX + 9, tChestY + 5, tChestX + 1, tChestY + 13, Rgb(cWing));
    al_draw_filled_rectangle(tChestX - 8, tChestY + 5, tChestX + 9, tChestY + 10, Rgb(cWing));
    al_draw_filled_ellipse(tChestX, tChestY, 7, 10, Rgb(cBody));
    al_draw_filled_ellipse(tChestX + 3, tChestY + 1, 4, 7, Rgb(cBelly));
    al_use_transform(&tOld);

    // Head: crest swept back, beak forward, one eye.
    const float tLift = pPose.mCrest * 4.0f;
    al_draw_filled_triangle(tHeadX - 3, tHeadY - 6, tHeadX - 15, tHeadY - 7 - tLift, tHeadX - 6, tHeadY - 1, Rgb(cWing));
    al_draw_filled_triangle(tHeadX - 1, tHeadY - 7, tHeadX - 11, tHeadY - 12 - tLift, tHeadX - 5, tHeadY - 3, Rgb(cWing));
    al_draw_filled_circle(tHeadX, tHeadY, 8, Rgb(cBody));
    al_draw_filled_ellipse(tHeadX + 4, tHeadY + 3, 4, 3, Rgb(cBelly));
    if(pPose.mBeakOpen)
    {
        al_draw_filled_triangle(tHeadX + 6, tHeadY - 2, tHeadX + 14, tHeadY - 1, tHeadX + 6, tHeadY + 1, Rgb(cBeak));
        al_draw_filled_triangle(tHeadX + 6, tHeadY + 2, tHeadX + 12, tHeadY + 5, tHeadX + 6, tHeadY + 4, Rgb(cBeak));
    }
    else
    {
        al_draw_filled_triangle(tHeadX + 6, tHeadY - 2, tHeadX + 14, tHeadY + 1, tHeadX + 6, tHeadY + 3, Rgb(cBeak));
    }
    ALLEGRO_COLOR tInk = al_map_rgb(16, 16, 16);
    const float tEyeX = tHeadX + 3, tEyeY = tHeadY - 2;
    if(pPose.mEye == 1)
    {
        al_draw_line(tEyeX - 2, tEyeY + 1, tEyeX + 2, tEyeY + 1, tInk, 1.5f);
    }
    else if(pPose.mEye == 2)
    {
        al_draw_line(tEyeX - 2, tEyeY - 2, tEyeX + 2, tEyeY, tInk, 1.5f);
        al_draw_line(tEyeX + 2, tEyeY, tEyeX - 2, tEyeY + 2, tInk, 1.5f);
    }
    else
    {
        al_draw_filled_circle(tEyeX, tEyeY, 2.5f, al_map_rgb(255, 255, 255));
        al_draw_filled_rectangle(tEyeX, tEyeY - 2, tEyeX + 2, tEyeY + 1, tInk);
    }

    Leg(tHipX + 2, tHipY, pPose.mFrontKnee, pPose.mFrontFoot);
    Arm(tShX + 1, tShY + 1, pPose.mFrontElbow, pPose.mFrontHand, pPose.mBuster);
}

// Seen from behind, for the ladder. pReach lifts the left or right hand (-1 to 1); pRise
// bends the legs under her as she climbs over the top.
static void DrawBack(float pReach, float pRise, bool pShutEyes)
{
    const float tHipX = 49.5f, tHipY = 64 - pRise * 6;
    ALLEGRO_COLOR tWing = Rgb(cWing);
    ALLEGRO_COLOR tLeg = Rgb(cBeak);
    // Legs: the side whose hand is low has its foot up a rung.
    const float tLeftFoot = 82 - (pReach > 0 ? 8 * pReach : 0) - pRise * 9;
    const float tRightFoot = 82 - (pReach < 0 ? -8 * pReach : 0) - pRise * 9;
    Limb(tHipX - 3, tHipY, tHipX - 6, (tHipY + tLeftFoot) * 0.5f, tHipX - 4, tLeftFoot, 3.0f, tLeg);
    Limb(tHipX + 3, tHipY, tHipX + 6, (tHipY + tRightFoot) * 0.5f, tHipX + 4, tRightFoot, 3.0f, tLeg);
    // Arms up on the rails.
    const float tShY = tHipY - 14;
    const float tLeftHand = tShY - 10 - (pReach < 0 ? -8 * pReach : 0);
    const float tRightHand = tShY - 10 - (pReach > 0 ? 8 * pReach : 0);
    Limb(tHipX - 6, tShY, tHipX - 11, tShY - 2, tHipX - 9, tLeftHand, 4.0f, tWing);
    Limb(tHipX + 6, tShY, tHipX + 11, tShY - 2, tHipX + 9, tRightHand, 4.0f, tWing);
    al_draw_filled_circle(tHipX - 9, tLeftHand, 2.5f, Rgb(cBelly));
    al_draw_filled_circle(tHipX + 9, tRightHand, 2.5f, Rgb(cBelly));
    // Tail, skirt, back and folded wing tips.
    al_draw_filled_triangle(tHipX - 4, tHipY, tHipX + 4, tHipY, tHipX, tHipY + 12, tWing);
    al_draw_filled_rectangle(tHipX - 8, tHipY - 5, tHipX + 8, tHipY + 1, tWing);
    al_draw_filled_ellipse(tHipX, tHipY - 9, 8, 10, Rgb(cBody));
    al_draw_filled_triangle(tHipX - 7, tHipY - 14, tHipX - 1, tHipY - 12, tHipX - 3, tHipY - 2, tWing);
    al_draw_filled_triangle(tHipX + 7, tHipY - 14, tHipX + 1, tHipY - 12, tHipX + 3, tHipY - 2, tWing);
    // Head from behind: only the crest shows.
    const float tHeadY = tHipY - 24;
    al_draw_filled_circle(tHipX, tHeadY, 8, Rgb(cBody));
    al_draw_filled_triangle(tHipX - 4, tHeadY - 5, tHipX + 4, tHeadY - 5, tHipX, tHeadY - 15, tWing);
    al_draw_filled_triangle(tHipX - 6, tHeadY - 3, tHipX - 1, tHeadY - 6, tHipX - 8, tHeadY - 12, tWing);
    al_draw_filled_triangle(tHipX + 6, tHeadY - 3, tHipX + 1, tHeadY - 6, tHipX + 8, tHeadY - 12, tWing);
    if(pShutEyes) al_draw_filled_rectangle(tHipX - 8, tHeadY + 1, tHipX + 8, tHeadY + 2, tWing);
}

// One body frame; pMirror turns her to face left about her centre line (wall poses face away
// from the wall she touches).
static void SaveBody(const char *pName, const Pose &pPose, bool pMirror)
{
    ALLEGRO_BITMAP *nCanvas = NewCanvas(BODY_SIZE, BODY_SIZE);
    if(pMirror)
    {
        ALLEGRO_TRANSFORM tMirror;
        al_identity_transform(&tMirror);
        al_scale_transform(&tMirror, -1.0f, 1.0f);
        al_translate_transform(&tMirror, 99.0f, 0.0f);
        al_use_transform(&tMirror);
    }
    DrawBody(pPose);
    Outline(nCanvas);
    Save(nCanvas, pName);
}

static void SaveBodyNumbered(const char *pStem, int pIndex, const Pose &pPose, bool pMirror)
{
    char tName[256];
    snprintf(tName, sizeof(tName), "%s%02i", pStem, pIndex);
    SaveBody(tName, pPose, pMirror);
}

static void SaveBack(const char *pName, float pReach, float pRise)
{
    ALLEGRO_BITMAP *nCanvas = NewCanvas(BODY_SIZE, BODY_SIZE);
    DrawBack(pReach, pRise, false);
    Outline(nCanvas);
    Save(nCanvas, pName);
}

static void MakeStanding()
{
    // 0 to 4: worn out, drawing breath ever deeper; 5: at ease; 6: crest up, looking about;
    // 7: a blink.
    for(int i = 0; i < 5; i++)
    {
        Pose tPose = Standing();
        tPose.mBodyY = i * 0.75f;
        tPose.mLean = 0.06f * i;
        Set2(tPose.mFrontKnee, 3 + i * 0.5f, 8);
        Set2(tPose.mFrontHand, 7 + i, 12 - i * 0.5f);
        Set2(tPose.mBackHand, -2 + i * 0.5f, 13);
        tPose.mEye = i >= 3 ? 1 : 0;
        tPose.mBeakOpen = i >= 2;
        SaveBodyNumbered("Idle", i, tPose, false);
    }
    SaveBodyNumbered("Idle", 5, Standing(), false);
    Pose tLook = Standing();
    tLook.mLean = -0.08f;
    tLook.mCrest = 1.0f;
    Set2(tLook.mFrontElbow, 5, 5);
    Set2(tLook.mFrontHand, 2, -2);
    SaveBodyNumbered("Idle", 6, tLook, false);
    Pose tBlink = Standing();
    tBlink.mEye = 1;
    SaveBodyNumbered("Idle", 7, tBlink, false);

    Pose tStep = Standing();
    tStep.mLean = 0.12f;
    Set2(tStep.mFrontKnee, 5, 8);
    Set2(tStep.mFrontFoot, 6, 18);
    Set2(tStep.mBackFoot, -5, 18);
    SaveBodyNumbered("RunStart", 0, tStep, false);

    Pose tAim = WithBuster(Standing());
    Set2(tAim.mFrontElbow, 6, 4);
    Set2(tAim.mFrontHand, 11, 2);
    SaveBodyNumbered("StandShoot", 0, tAim, false);
    SaveBodyNumbered("StandShoot", 1, WithBuster(Standing()), false);
}

static Pose RunPose(int pIndex)
{
    const float tPhase = pIndex / 8.0f * 2.0f * (float)M_PI;
    const float tS = sinf(tPhase), tC = cosf(tPhase);
    Pose tPose = Standing();
    tPose.mLean = 0.22f;
    tPose.mBodyY = -fabsf(tS) * 2.0f + 1.0f;
    const float tLift = tC > 0 ? tC * 6.0f : 0.0f;
    const float tLiftBack = tC < 0 ? -tC * 6.0f : 0.0f;
    Set2(tPose.mFrontFoot, 10 * tS, 18 - tPose.mBodyY - tLift);
    Set2(tPose.mFrontKnee, 5 * tS + 5, 9 - tLift);
    Set2(tPose.mBackFoot, -10 * tS, 18 - tPose.mBodyY - tLiftBack);
    Set2(tPose.mBackKnee, -5 * tS + 5, 9 - tLiftBack);
    Set2(tPose.mFrontElbow, -4 * tS, 8);
    Set2(tPose.mFrontHand, -7 * tS + 3, 13);
    Set2(tPose.mBackElbow, 4 * tS, 8);
    Set2(tPose.mBackHand, 7 * tS + 2, 13);
    return tPose;
}

// 0 take-off, 1 rising, 2 top of the arc, 3 starting down, 4 falling, 5 and 6 the landing.
static Pose AirPose(int pIndex)
{
    Pose tPose = Standing();
    switch(pIndex)
    {
    case 0:
        tPose.mLean = 0.1f;
        Set2(tPose.mFrontKnee, 2, 10);
        Set2(tPose.mFrontFoot, 0, 19);
        Set2(tPose.mBackKnee, -2, 10);
        Set2(tPose.mBackFoot, -5, 19);
        Set2(tPose.mFrontElbow, 6, -5);
        Set2(tPose.mFrontHand, 9, -13);
        Set2(tPose.mBackElbow, -6, -4);
        Set2(tPose.mBackHand, -11, -10);
        break;
    case 1:
        tPose.mBodyY = -3;
        Set2(tPose.mFrontKnee, 7, 6);
        Set2(tPose.mFrontFoot, 3, 14);
        Set2(tPose.mBackKnee, 2, 9);
        Set2(tPose.mBackFoot, -4, 15);
        Set2(tPose.mFrontElbow, 7, -3);
        Set2(tPose.mFrontHand, 12, -9);
        Set2(tPose.mBackElbow, -7, -2);
        Set2(tPose.mBackHand, -13, -6);
        break;
    case 2:
        tPose.mBodyY = -4;
        tPose.mCrest = 0.5f;
        Set2(tPose.mFrontKnee, 7, 5);
        Set2(tPose.mFrontFoot, 2, 12);
        Set2(tPose.mBackKnee, 3, 7);
        Set2(tPose.mBackFoot, -3, 13);
        Set2(tPose.mFrontElbow, 8, 0);
        Set2(tPose.mFrontHand, 14, -3);
        Set2(tPose.mBackElbow, -8, 0);
        Set2(tPose.mBackHand, -14, -2);
        break;
    case 3:
    case 4:
    {
        const float tOpen = pIndex == 4 ? 1.0f : 0.6f;
        tPose.mBodyY = -3;
        tPose.mCrest = tOpen;
        Set2(tPose.mFrontKnee, 4, 9);
        Set2(tPose.mFrontFoot, 4, 18);
        Set2(tPose.mBackKnee, -1, 9);
        Set2(tPose.mBackFoot, -4, 17);
        Set2(tPose.mFrontElbow, 8, -6 * tOpen);
        Set2(tPose.mFrontHand, 15, -14 * tOpen);
        Set2(tPose.mBackElbow, -8, -6 * tOpen);
        Set2(tPose.mBackHand, -15, -13 * tOpen);
        break;
    }
    default:
    {
        const float tSquat = pIndex == 5 ? 4.0f : 2.0f;
        tPose.mBodyY = tSquat;
        tPose.mLean = 0.05f * tSquat;
        Set2(tPose.mFrontKnee, 5, 7 - tSquat * 0.5f);
        Set2(tPose.mFrontFoot, 3, 18 - tSquat);
        Set2(tPose.mBackKnee, 1, 8 - tSquat * 0.5f);
        Set2(tPose.mBackFoot, -4, 18 - tSquat);
        Set2(tPose.mFrontElbow, 6, 4);
        Set2(tPose.mFrontHand, 11, 6);
        Set2(tPose.mBackElbow, -6, 4);
        Set2(tPose.mBackHand, -11, 6);
        break;
    }
    }
    return tPose;
}

// 0 the push-off, 1 the long skim low over the ground.
static Pose DashPose(int pIndex)
{
    Pose tPose = Standing();
    tPose.mLean = pIndex == 0 ? 0.3f : 0.5f;
    tPose.mBodyY = pIndex == 0 ? 2.0f : 5.0f;
    tPose.mCrest = 1.0f;
    Set2(tPose.mFrontKnee, 8, 4);
    Set2(tPose.mFrontFoot, 9, 18 - tPose.mBodyY);
    Set2(tPose.mBackKnee, -6, 6);
    Set2(tPose.mBackFoot, -15 - pIndex * 3, 17 - tPose.mBodyY);
    Set2(tPose.mFrontElbow, -5, 6);
    Set2(tPose.mFrontHand, -10, 10);
    Set2(tPose.mBackElbow, -7, 4);
    Set2(tPose.mBackHand, -13, 5);
    return tPose;
}

// Against a wall on her right, drawn facing right and mirrored: 0 the first touch, 1 and 2 the
// slide with her talons braced; the kick: 0 crouched on the wall, 1 legs thrust off it.
static Pose WallSlidePose(int pIndex)
{
    Pose tPose = Standing();
    tPose.mBodyY = 1;
    tPose.mLean = -0.1f;
    Set2(tPose.mFrontKnee, -5, 6 + pIndex);
    Set2(tPose.mFrontFoot, -8, 14 + pIndex);
    Set2(tPose.mBackKnee, -4, 9);
    Set2(tPose.mBackFoot, -9, 17);
    Set2(tPose.mFrontElbow, 4, -6 + pIndex);
    Set2(tPose.mFrontHand, 1, -13 + pIndex * 2);
    Set2(tPose.mBackElbow, -8, -3 - pIndex);
    Set2(tPose.mBackHand, -9, -9 - pIndex);
    tPose.mEye = pIndex == 0 ? 2 : 0;
    return tPose;
}

static Pose WallKickPose(int pIndex)
{
    Pose tPose = Standing();
    tPose.mBodyY = -2;
    tPose.mLean = 0.15f;
    tPose.mCrest = 1.0f;
    if(pIndex == 0)
    {
        Set2(tPose.mFrontKnee, -6, 4);
        Set2(tPose.mFrontFoot, -9, 12);
        Set2(tPose.mBackKnee, -4, 7);
        Set2(tPose.mBackFoot, -10, 14);
    }
    else
    {
        Set2(tPose.mFrontKnee, -8, 6);
        Set2(tPose.mFrontFoot, -16, 10);
        Set2(tPose.mBackKnee, -5, 9);
        Set2(tPose.mBackFoot, -12, 16);
    }
    Set2(tPose.mFrontElbow, 7, -5);
    Set2(tPose.mFrontHand, 12, -12);
    Set2(tPose.mBackElbow, -5, -6);
    Set2(tPose.mBackHand, -8, -13);
    return tPose;
}

static Pose HurtPose(int pIndex)
{
    Pose tPose = Standing();
    tPose.mLean = -0.25f - 0.1f * (pIndex % 2);
    tPose.mBodyY = 1 + (pIndex % 2);
    tPose.mEye = 2;
    tPose.mBeakOpen = true;
    tPose.mCrest = 1.0f;
    Set2(tPose.mFrontKnee, 4, 8);
    Set2(tPose.mFrontFoot, 6, 17);
    Set2(tPose.mBackFoot, -6, 17);
    Set2(tPose.mFrontElbow, 6, -6);
    Set2(tPose.mFrontHand, 11, -12 - (pIndex % 2) * 2);
    Set2(tPose.mBackElbow, -7, -5);
    Set2(tPose.mBackHand, -12, -11);
    return tPose;
}

// Side view on a ladder holding on with the back hand, for shooting: 0 raising the buster, 1 aimed.
static Pose LadderShootPose(int pIndex)
{
    Pose tPose = Standing();
    Set2(tPose.mFrontKnee, 4, 8);
    Set2(tPose.mFrontFoot, 2, 17);
    Set2(tPose.mBackKnee, 2, 6);
    Set2(tPose.mBackFoot, -1, 12);
    Set2(tPose.mBackElbow, -3, -7);
    Set2(tPose.mBackHand, -1, -14);
    tPose = pIndex == 0 ? tPose : WithBuster(tPose);
    if(pIndex == 0)
    {
        Set2(tPose.mFrontElbow, 6, 4);
        Set2(tPose.mFrontHand, 11, 2);
        tPose.mBuster = true;
    }
    return tPose;
}

static void MakeMoves()
{
    for(int i = 0; i < 8; i++)
    {
        SaveBodyNumbered("Run", i, RunPose(i), false);
        SaveBodyNumbered("RunShoot", i, WithBuster(RunPose(i)), false);
    }
    for(int i = 0; i < 7; i++)
    {
        SaveBodyNumbered("Air", i, AirPose(i), false);
        SaveBodyNumbered("AirShoot", i, WithBuster(AirPose(i)), false);
    }
    for(int i = 0; i < 2; i++)
    {
        SaveBodyNumbered("Dash", i, DashPose(i), false);
        SaveBodyNumbered("DashShoot", i, WithBuster(DashPose(i)), false);
        SaveBodyNumbered("WallKick", i, WallKickPose(i), true);
        SaveBodyNumbered("WallKickShoot", i, WithBuster(WallKickPose(i)), true);
        SaveBodyNumbered("Hurt", i, HurtPose(i), false);
        SaveBodyNumbered("LadderShoot", i, LadderShootPose(i), false);
        SaveBodyNumbered("LadderShoot", i + 2, LadderShootPose(i), true);
    }
    for(int i = 0; i < 3; i++)
    {
        SaveBodyNumbered("WallSlide", i, WallSlidePose(i), true);
        SaveBodyNumbered("WallSlideShoot", i, WithBuster(WallSlidePose(i)), true);
    }
    SaveBack("LadderGrab00", 0.0f, 0.0f);
    SaveBack("Climb00", 1.0f, 0.0f);
    SaveBack("Climb01", 0.0f, 0.0f);
    SaveBack("Climb02", -1.0f, 0.0f);
    SaveBack("Climb03", 0.0f, 0.0f);
    SaveBack("LadderTop00", 0.5f, 1.0f);
    SaveBack("LadderTop01", 0.0f, 2.0f);
}

// ---------------------------------------------------------------------------------------------
// Light effects use fixed colours: they are drawn outside the body's palette swap.
// Every colour is opaque: the engine blends the pictures itself, and a half-covered pixel here
// would only come out darker.
static ALLEGRO_COLOR Glow(float pStrength)
{
    return al_map_rgb_f(0.55f + 0.45f * (1.0f - pStrength), 0.85f + 0.15f * (1.0f - pStrength), 1.0f);
}

static void Blit(ALLEGRO_BITMAP *pTarget, ALLEGRO_BITMAP *pSource, float pX, float pY)
{
    al_set_target_bitmap(pTarget);
    ALLEGRO_TRANSFORM tIdentity;
    al_identity_transform(&tIdentity);
    al_use_transform(&tIdentity);
    al_draw_bitmap(pSource, pX, pY, 0);
}

// A body frame on its own canvas, ready to be copied in: in colour, or as a flat shape of
// light while she is still made of it.
static ALLEGRO_BITMAP *BodyPicture(const Pose &pPose, bool pAsLight)
{
    ALLEGRO_BITMAP *nBody = NewCanvas(BODY_SIZE, BODY_SIZE);
    DrawBody(pPose);
    Outline(nBody);
    if(!pAsLight) return nBody;
    ALLEGRO_LOCKED_REGION *rLock = al_lock_bitmap(nBody, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READWRITE);
    if(!rLock) return nBody;
    for(int y = 0; y < BODY_SIZE; y++)
    {
        unsigned char *rRow = (unsigned char *)rLock->data + y * rLock->pitch;
        for(int x = 0; x < BODY_SIZE; x++)
        {
            if(!rRow[x * 4 + 3]) continue;
            rRow[x * 4 + 0] = 200;
            rRow[x * 4 + 1] = 240;
            rRow[x * 4 + 2] = 255;
        }
    }
    al_unlock_bitmap(nBody);
    return nBody;
}

// The teleport beam: a bolt falls from the sky to her feet, then her shape forms in it.
static void MakeBeam()
{
    const int tW = 200, tH = 584;
    const float tCX = BEAM_BODY_X + 49.5f;
    const float tFeet = BEAM_BODY_Y + 82.0f;
    for(int i = 0; i < 16; i++)
    {
        ALLEGRO_BITMAP *nCanvas = NewCanvas(tW, tH);
        if(i < 8)
        {
            const float tHead = 70.0f + i * (tFeet - 70.0f) / 7.0f;
            al_draw_filled_rectangle(tCX - 6, tHead - 90, tCX + 6, tHead, Glow(1.0f));
            al_draw_filled_rectangle(tCX - 3, tHead - 90, tCX + 3, tHead, al_map_rgb(255, 255, 255));
            al_draw_filled_rectangle(tCX - 4, tHead - 160, tCX + 4, tHead - 95, Glow(0.6f));
        }
        else if(i < 11)
        {
            // The bolt strikes: a column at her height with sparks flying off it.
            const float tSpread = (float)(i - 7) * 6.0f;
            al_draw_filled_rectangle(tCX - 5, tFeet - 56, tCX + 5, tFeet, Glow(1.0f));
            al_draw_filled_rectangle(tCX - 2, tFeet - 56, tCX + 2, tFeet, al_map_rgb(255, 255, 255));
            for(int k = 0; k < 4; k++)
            {
                const float tY = tFeet - 10 - k * 13;
                al_draw_line(tCX - 6 - tSpread, tY, tCX - 6, tY + 3, Glow(1.0f), 2.0f);
                al_draw_line(tCX + 6, tY + 3, tCX + 6 + tSpread, tY, Glow(1.0f), 2.0f);
            }
        }
        else
        {
            // 11 and 12 light only, 13 light with bands, 14 colour with bands, 15 herself.
            ALLEGRO_BITMAP *nBody = BodyPicture(Standing(), i < 14);
            Blit(nCanvas, nBody, BEAM_BODY_X, BEAM_BODY_Y);
            al_destroy_bitmap(nBody);
            al_set_target_bitmap(nCanvas);
            if(i == 13 || i == 14)
            {
                for(int y = 0; y < 60; y += (i == 13 ? 4 : 8))
                {
                    al_draw_filled_rectangle(tCX - 14, tFeet - 56 + y, tCX + 14, tFeet - 55 + y, Glow(1.0f));
                }
            }
        }
        SaveNumbered(nCanvas, "Beam", i);
    }
}

static void Orb(float pX, float pY, float pRadius)
{
    al_draw_filled_circle(pX, pY, pRadius + 2, Glow(0.8f));
    al_draw_filled_circle(pX, pY, pRadius, al_map_rgb(255, 255, 255));
}

// The death burst: a last pained pose, a flash, then rings of light flying apart. On the
// ground a column of orbs also rises out of the picture.
static void MakeDeath(const char *pStem, int pFrames, int pWidth, int pHeight, float pBodyX, float pBodyY, bool pGround)
{
    const float tCX = pBodyX + 49.5f, tCY = pBodyY + 56.0f;
    for(int i = 0; i < pFrames; i++)
    {
        ALLEGRO_BITMAP *nCanvas = NewCanvas(pWidth, pHeight);
        if(i < 2)
        {
            ALLEGRO_BITMAP *nBody = BodyPicture(HurtPose(1), i == 1);
            Blit(nCanvas, nBody, pBodyX, pBodyY);
            al_destroy_bitmap(nBody);
            al_set_target_bitmap(nCanvas);
        }
        else
        {
            const float tT = (float)(i - 1);
            const float tRadius = pGround ? 3.5f : 4.0f;
            for(int k = 0; k < 8; k++)
            {
                const float tAngle = k * (float)M_PI / 4.0f;
                const float tNear = tT * 7.0f, tFar = tT * 11.0f;
                Orb(tCX + cosf(tAngle) * tFar, tCY + sinf(tAngle) * tFar, tRadius + 1);
                Orb(tCX + cosf(tAngle + 0.39f) * tNear, tCY + sinf(tAngle + 0.39f) * tNear, tRadius);
            }
            if(pGround)
            {
                for(int k = 0; k < 4; k++)
                {
                    const float tY = tCY - tT * (20.0f + k * 6.0f);
                    if(tY > 6) Orb(tCX, tY, 3.0f);
                }
            }
            if(i < 5) al_draw_filled_circle(tCX, tCY, 14.0f - (i - 2) * 4.0f, al_map_rgb(255, 255, 255));
        }
        SaveNumbered(nCanvas, pStem, i);
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genplayerart", argc, argv)) return 1;
    MakeStanding();
    MakeMoves();
    MakeBeam();
    MakeDeath("DeathGround", 16, 264, 590, DEATH_GROUND_BODY_X, BEAM_BODY_Y, true);
    MakeDeath("DeathAir", 14, 304, 590, DEATH_AIR_BODY_X, DEATH_AIR_BODY_Y, false);
    return 0;
}
