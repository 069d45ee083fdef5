// genmachineart: draws the boss door's opening frames and the mech suit's poses, one PNG per
// frame, into the folder given on the command line. game/Data/Scripts/Sprites/Machines.lua
// builds the door's and the mech's animations from them.
//
//   Door00 .. Door05   24 by 72: the shutter rising into the frame, closed to open
//   Platform00         64 by 16: a moving platform's deck
//   Goal00, Goal01     32 by 64: the goal's flag on its pole, waving; the pole's foot is the
//                      bottom of column 4 to 7
//   Mech<Pose>NN       128 by 160: the mech's body fills the box 68..98 by 79..146 of the
//                      frame, the box the engine places on the mech's hitbox
#include "ArtCanvas.h"

#include <cmath>

namespace
{
    const int cDoorW = 24;
    const int cDoorH = 72;
    const int cDoorFrames = 6;
    const int cMechW = 128;
    const int cMechH = 160;
    // The body box inside a mech frame.
    const float cBodyL = 68.0f;
    const float cBodyT = 79.0f;
    const float cBodyR = 98.0f;
    const float cBodyB = 146.0f;

    ALLEGRO_COLOR Rgb(int pR, int pG, int pB)
    {
        return al_map_rgb((unsigned char)pR, (unsigned char)pG, (unsigned char)pB);
    }

    void MakeDoor()
    {
        for(int f = 0; f < cDoorFrames; f++)
        {
            ALLEGRO_BITMAP *nFrame = NewCanvas(cDoorW, cDoorH);
            // The frame posts stay; the shutter between them rises by a sixth each frame.
            al_draw_filled_rectangle(0, 0, 4, cDoorH, Rgb(90, 90, 110));
            al_draw_filled_rectangle(cDoorW - 4, 0, cDoorW, cDoorH, Rgb(90, 90, 110));
            al_draw_filled_rectangle(0, 0, cDoorW, 6, Rgb(70, 70, 90));
            int tShutter = cDoorH - 6 - f * (cDoorH - 6) / (cDoorFrames - 1);
            if(tShutter > 0)
            {
                al_draw_filled_rectangle(4, 6, cDoorW - 4, 6 + tShutter, Rgb(160, 40, 40));
                for(int y = 6 + 8; y < 6 + tShutter; y += 10)
                {
                    al_draw_filled_rectangle(4, y, cDoorW - 4, y + 2, Rgb(230, 190, 60));
                }
            }
            SaveNumbered(nFrame, "Door", f);
        }
    }

    void MakePlatform()
    {
        ALLEGRO_BITMAP *nFrame = NewCanvas(64, 16);
        al_draw_filled_rectangle(0, 0, 64, 16, Rgb(80, 90, 100));
        al_draw_filled_rectangle(0, 0, 64, 4, Rgb(230, 190, 60));
        for(int x = 4; x < 64; x += 12) al_draw_filled_rectangle(x, 7, x + 6, 13, Rgb(50, 55, 65));
        Save(nFrame, "Platform00");
    }

    // A chequered pennant that ripples: its fly end rises and falls between the two frames. Its
    // light squares stay a shade off white, which the view keeps for its text.
    void MakeGoal()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nFrame = NewCanvas(32, 64);
            al_draw_filled_rectangle(4, 2, 8, 64, Rgb(190, 190, 200));
            al_draw_filled_circle(6, 3, 3, Rgb(240, 200, 60));
            const float tDip = f == 0 ? 0.0f : 3.0f;
            for(int c = 0; c < 6; c++)
            {
                for(int r = 0; r < 4; r++)
                {
                    const float tX = 8.0f + 4.0f * (float)c;
                    const float tY = 6.0f + 4.0f * (float)r + tDip * (float)c / 5.0f;
                    al_draw_filled_rectangle(tX, tY, tX + 4.0f, tY + 4.0f, (c + r) % 2 ? Rgb(30, 30, 40) : Rgb(215, 215, 225));
                }
            }
            Outline(nFrame);
            SaveNumbered(nFrame, "Goal", f);
        }
    }

    // One mech pose: pCrouch sinks the body, pLegA and pLegB swing the two legs forward
    // (positive) or back, pArm raises the arm.
    void DrawMech(const char *pStem, int pIndex, float pCrouch, float pLegA, float pLegB, float pArm)
    {
        ALLEGRO_BITMAP *nFrame = NewCanvas(cMechW, cMechH);
        const float tHipY = cBodyT + 38.0f + pCrouch;
        const float tCentre = (cBodyL + cBodyR) / 2.0f;
        // Legs from the hip to the feet on the box's bottom.
        const float tLegs[2] = {pLegA, pLegB};
        const ALLEGRO_COLOR tLegColours[2] = {Rgb(70, 80, 95), Rgb(95, 105, 120)};
        for(int i = 0; i < 2; i++)
        {
            float tFootX = tCentre + tLegs[i];
            al_draw_line(tCentre, tHipY, tFootX, cBodyB - 4.0f, tLegColours[i], 7.0f);
            al_draw_filled_rectangle(tFootX - 7.0f, cBodyB - 5.0f, tFootX + 8.0f, cBodyB, tLegColours[i]);
        }
        // The cockpit body and its canopy.
        al_draw_filled_rounded_rectangle(cBodyL - 2.0f, cBodyT + 8.0f + pCrouch, cBodyR + 4.0f, tHipY + 4.0f, 5, 5,
                                         Rgb(200, 150, 40));
        al_draw_filled_rectangle(tCentre, cBodyT + 14.0f + pCrouch, cBodyR + 2.0f, cBodyT + 26.0f + pCrouch,
                                 Rgb(120, 200, 230));
        // The arm, from the shoulder forward.
        float tShoulderY = cBodyT + 28.0f + pCrouch;
        al_draw_line(tCentre, tShoulderY, cBodyR + 10.0f, tShoulderY + 12.0f - pArm, Rgb(150, 110, 30), 6.0f);
        al_draw_filled_circle(cBodyR + 11.0f, tShoulderY + 12.0f - pArm, 5.0f, Rgb(110, 110, 120));
        Outline(nFrame);
        SaveNumbered(nFrame, pStem, pIndex);
    }

    void MakeMech()
    {
        // Power-up: from slumped to standing.
        for(int i = 0; i < 4; i++) DrawMech("MechPower", i, 18.0f - 6.0f * (float)i, -4.0f, 6.0f, -8.0f + 4.0f * (float)i);
        DrawMech("MechIdle", 0, 0.0f, -4.0f, 6.0f, 4.0f);
        DrawMech("MechIdle", 1, 1.0f, -4.0f, 6.0f, 3.0f);
        for(int i = 0; i < 4; i++)
        {
            float tSwing = 10.0f * sinf((float)i * 1.5707963f);
            DrawMech("MechWalk", i, fabsf(tSwing) / 5.0f, tSwing, -tSwing, 4.0f);
        }
        // Jump: crouch, rise, top, fall, land.
        const float cJumpCrouch[5] = {8.0f, 0.0f, -2.0f, 0.0f, 10.0f};
        const float cJumpLegs[5] = {0.0f, 8.0f, 12.0f, 6.0f, 0.0f};
        for(int i = 0; i < 5; i++) DrawMech("MechJump", i, cJumpCrouch[i], cJumpLegs[i], -cJumpLegs[i], 10.0f);
        // Ram: leaning in, arm forward.
        for(int i = 0; i < 2; i++) DrawMech("MechRam", i, 4.0f, 12.0f - 4.0f * (float)i, -10.0f, 12.0f);
        DrawMech("MechStop", 0, 6.0f, -8.0f, 4.0f, 0.0f);
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genmachineart", argc, argv)) return 1;
    MakeDoor();
    MakePlatform();
    MakeGoal();
    MakeMech();
    return 0;
}
