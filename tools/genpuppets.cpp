// genpuppets: writes the two skeletal puppets the enemy presets boot, each as a texture page,
// its atlas and its skeleton file:
//
//     genpuppets GRAPHICS_DIRECTORY
//
// gives Goblin/goblins.{png,atlas,json} (skin "goblin") and DragonTank/skeleton.{png,atlas,json}
// (everything in the default skin). Skeletons are y-up with their origin at the owner box's top
// left: the feet stand at minus the height of the enemy's box (the goblin's is 64 units tall, the
// tank's 48), so a puppet stands where its box does, and the body is centred on x = 0, so a
// mirrored draw covers the same ground. The atlas carries no page "size:" line, which the
// reader would take for the format.
#include "ArtCanvas.h"

#include <cmath>

static const int cPageWidth = 128;
static const int cPageHeight = 64;

// One rectangle of a page and how it is painted (in its own coordinates, top left at 0, 0).
struct PuppetPart
{
    const char *mName;
    int mWidth;
    int mHeight;
    void (*mPaint)(int pWidth, int pHeight);
    int mX;
    int mY;
};

// Packs the parts left to right in rows, paints each into its rectangle and saves the page
// and its atlas under pStem (".png", ".atlas").
static void WritePage(const char *pStem, const char *pPageName, PuppetPart *pParts, int pCount)
{
    ALLEGRO_BITMAP *nPage = NewCanvas(cPageWidth, cPageHeight);
    int tX = 1, tY = 1, tRowHeight = 0;
    for(int i = 0; i < pCount; i++)
    {
        PuppetPart &rPart = pParts[i];
        if(tX + rPart.mWidth + 1 > cPageWidth)
        {
            tX = 1;
            tY += tRowHeight + 1;
            tRowHeight = 0;
        }
        if(tY + rPart.mHeight + 1 > cPageHeight)
        {
            fprintf(stderr, "%s: %s does not fit its page\n", xToolName, rPart.mName);
            exit(1);
        }
        rPart.mX = tX;
        rPart.mY = tY;
        ALLEGRO_TRANSFORM tMove;
        al_identity_transform(&tMove);
        al_translate_transform(&tMove, (float)tX, (float)tY);
        al_use_transform(&tMove);
        al_set_clipping_rectangle(tX, tY, rPart.mWidth, rPart.mHeight);
        rPart.mPaint(rPart.mWidth, rPart.mHeight);
        tX += rPart.mWidth + 1;
        if(rPart.mHeight > tRowHeight) tRowHeight = rPart.mHeight;
    }
    al_reset_clipping_rectangle();
    Outline(nPage);
    Save(nPage, pStem);

    char tPath[4096];
    snprintf(tPath, sizeof(tPath), "%s%s.atlas", xRoot, pStem);
    FILE *rFile = fopen(tPath, "wb");
    if(!rFile)
    {
        fprintf(stderr, "%s: cannot write %s\n", xToolName, tPath);
        exit(1);
    }
    fprintf(rFile, "\n%s\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n", pPageName);
    for(int i = 0; i < pCount; i++)
    {
        const PuppetPart &rPart = pParts[i];
        fprintf(rFile, "%s\n  rotate: false\n  xy: %d, %d\n  size: %d, %d\n  orig: %d, %d\n  offset: 0, 0\n  index: -1\n",
                rPart.mName, rPart.mX, rPart.mY, rPart.mWidth, rPart.mHeight, rPart.mWidth, rPart.mHeight);
    }
    fclose(rFile);
}

static void WriteText(const char *pStem, const char *pExtension, const char *pText)
{
    char tPath[4096];
    snprintf(tPath, sizeof(tPath), "%s%s%s", xRoot, pStem, pExtension);
    FILE *rFile = fopen(tPath, "wb");
    if(!rFile || fputs(pText, rFile) < 0)
    {
        fprintf(stderr, "%s: cannot write %s\n", xToolName, tPath);
        exit(1);
    }
    fclose(rFile);
}

static void MakeDirectory(const char *pName)
{
    char tPath[4096];
    snprintf(tPath, sizeof(tPath), "%s%s", xRoot, pName);
    if(!MakeArtFolder(tPath))
    {
        fprintf(stderr, "%s: cannot make the folder %s\n", xToolName, tPath);
        exit(1);
    }
}

// --- The goblin: a green brute with a club. -------------------------------------------------

static ALLEGRO_COLOR Rgb(int r, int g, int b)
{
    return al_map_rgb(r, g, b);
}

static void PaintGoblinHead(int w, int h)
{
    al_draw_filled_ellipse(w / 2.0f, h / 2.0f, w / 2.0f - 1, h / 2.0f - 1, Rgb(90, 170, 70));
    al_draw_filled_triangle(0, h * 0.3f, 5, h * 0.45f, 4, h * 0.6f, Rgb(90, 170, 70));
    al_draw_filled_triangle(w, h * 0.3f, w - 5, h * 0.45f, w - 4, h * 0.6f, Rgb(90, 170, 70));
    al_draw_filled_circle(w * 0.35f, h * 0.45f, 2.5f, Rgb(250, 230, 60));
    al_draw_filled_circle(w * 0.65f, h * 0.45f, 2.5f, Rgb(250, 230, 60));
    al_draw_line(w * 0.3f, h * 0.75f, w * 0.7f, h * 0.75f, Rgb(40, 60, 30), 2);
}

static void PaintGoblinTorso(int w, int h)
{
    al_draw_filled_rounded_rectangle(1, 1, w - 1, h - 1, 5, 5, Rgb(120, 80, 50));
    al_draw_filled_rectangle(2, h * 0.6f, w - 2, h * 0.72f, Rgb(70, 45, 30));
}

static void PaintGoblinLimb(int w, int h)
{
    al_draw_filled_rounded_rectangle(1, 0, w - 1, h, 3, 3, Rgb(80, 155, 60));
}

static void PaintGoblinClub(int w, int h)
{
    al_draw_filled_rectangle(w * 0.35f, h * 0.4f, w * 0.65f, h, Rgb(110, 70, 40));
    al_draw_filled_ellipse(w / 2.0f, h * 0.25f, w / 2.0f - 0.5f, h * 0.25f, Rgb(140, 95, 55));
}

static const char *const cGoblinSkeleton = R"({
"bones":[
 {"name":"root","y":-64},
 {"name":"hip","parent":"root","y":18},
 {"name":"torso","parent":"hip"},
 {"name":"head","parent":"torso","y":24},
 {"name":"armL","parent":"torso","x":-12,"y":20},
 {"name":"armR","parent":"torso","x":12,"y":20},
 {"name":"club","parent":"armR","y":-16},
 {"name":"legL","parent":"hip","x":-5},
 {"name":"legR","parent":"hip","x":5}],
"slots":[
 {"name":"legL","bone":"legL","attachment":"leg"},
 {"name":"legR","bone":"legR","attachment":"leg"},
 {"name":"armL","bone":"armL","attachment":"arm"},
 {"name":"torso","bone":"torso","attachment":"torso"},
 {"name":"head","bone":"head","attachment":"head"},
 {"name":"club","bone":"club","attachment":"club"},
 {"name":"armR","bone":"armR","attachment":"arm"}],
"skins":{
 "default":{"club":{"club":{"y":8,"width":12,"height":28}}},
 "goblin":{
  "legL":{"leg":{"y":-9,"width":8,"height":18}},
  "legR":{"leg":{"y":-9,"width":8,"height":18}},
  "armL":{"arm":{"y":-8,"width":7,"height":18}},
  "armR":{"arm":{"y":-8,"width":7,"height":18}},
  "torso":{"torso":{"y":12,"width":22,"height":26}},
  "head":{"head":{"y":10,"width":26,"height":22}}}},
"events":{"swing":{"int":1}},
"animations":{
 "idle":{
  "bones":{"torso":{"translate":[{"time":0,"y":0,"curve":[0.25,0,0.75,1]},{"time":0.5,"y":-1.5,"curve":[0.25,0,0.75,1]},{"time":1,"y":0}]},
           "head":{"rotate":[{"time":0,"angle":0},{"time":0.5,"angle":4},{"time":1,"angle":0}]}}},
 "walk":{
  "bones":{"legL":{"rotate":[{"time":0,"angle":25},{"time":0.5,"angle":-25},{"time":1,"angle":25}]},
           "legR":{"rotate":[{"time":0,"angle":-25},{"time":0.5,"angle":25},{"time":1,"angle":-25}]},
           "armL":{"rotate":[{"time":0,"angle":-20},{"time":0.5,"angle":20},{"time":1,"angle":-20}]},
           "armR":{"rotate":[{"time":0,"angle":20},{"time":0.5,"angle":-20},{"time":1,"angle":20}]},
           "hip":{"translate":[{"time":0,"y":0},{"time":0.25,"y":2},{"time":0.5,"y":0},{"time":0.75,"y":2},{"time":1,"y":0}]}}},
 "attack":{
  "bones":{"armR":{"rotate":[{"time":0,"angle":0},{"time":0.25,"angle":150,"curve":[0.5,0,1,1]},{"time":0.4,"angle":-40,"curve":"stepped"},{"time":0.6,"angle":0}]},
           "torso":{"scale":[{"time":0,"x":1,"y":1},{"time":0.3,"x":1.1,"y":0.95},{"time":0.6,"x":1,"y":1}]}},
  "slots":{"club":{"color":[{"time":0,"color":"ffffffff"},{"time":0.3,"color":"ff8080ff"},{"time":0.6,"color":"ffffffff"}]}},
  "events":[{"time":0.3,"name":"swing"}]}}}
)";

static void MakeGoblin()
{
    PuppetPart tParts[] = {{"head", 26, 22, PaintGoblinHead, 0, 0},
                           {"torso", 22, 26, PaintGoblinTorso, 0, 0},
                           {"arm", 7, 18, PaintGoblinLimb, 0, 0},
                           {"leg", 8, 18, PaintGoblinLimb, 0, 0},
                           {"club", 12, 28, PaintGoblinClub, 0, 0}};
    MakeDirectory("Goblin");
    WritePage("Goblin/goblins", "goblins.png", tParts, (int)(sizeof(tParts) / sizeof(tParts[0])));
    WriteText("Goblin/goblins", ".json", cGoblinSkeleton);
}

// --- The dragon tank: treads, hull, turret, cannon and a dragon's head. ----------------------

static void PaintTread(int w, int h, float pPhase)
{
    al_draw_filled_rounded_rectangle(0, 0, w, h, h / 2.0f, h / 2.0f, Rgb(60, 60, 70));
    for(float x = 4 + pPhase; x < w - 3; x += 8) al_draw_filled_circle(x, h / 2.0f, 3, Rgb(150, 150, 160));
}

static void PaintTread0(int w, int h)
{
    PaintTread(w, h, 0);
}

static void PaintTread1(int w, int h)
{
    PaintTread(w, h, 4);
}

static void PaintHull(int w, int h)
{
    al_draw_filled_rectangle(2, 0, w - 2, h, Rgb(150, 40, 40));
    al_draw_filled_rectangle(2, h * 0.7f, w - 2, h, Rgb(110, 30, 30));
}

static void PaintTurret(int w, int h)
{
    al_draw_filled_rounded_rectangle(0, 0, w, h, 6, 6, Rgb(170, 60, 50));
}

static void PaintCannon(int w, int h)
{
    al_draw_filled_rectangle(0, 1, w, h - 1, Rgb(80, 80, 90));
    al_draw_filled_rectangle(w - 4, 0, w, h, Rgb(50, 50, 60));
}

static void PaintDragonHead(int w, int h)
{
    al_draw_filled_triangle(0, h * 0.2f, w, h * 0.45f, 0, h, Rgb(200, 90, 40));
    al_draw_filled_circle(w * 0.3f, h * 0.45f, 2.5f, Rgb(255, 240, 80));
    al_draw_filled_triangle(2, h * 0.2f, 6, 0, 10, h * 0.25f, Rgb(230, 200, 120));
}

static const char *const cDragonTankSkeleton = R"({
"bones":[
 {"name":"root","y":-48},
 {"name":"hull","parent":"root","y":16},
 {"name":"turret","parent":"hull","y":20},
 {"name":"cannon","parent":"turret","x":8,"y":4},
 {"name":"head","parent":"turret","x":-10,"y":16}],
"slots":[
 {"name":"cannon","bone":"cannon","attachment":"cannon"},
 {"name":"treads","bone":"root","attachment":"tread0"},
 {"name":"hull","bone":"hull","attachment":"hull"},
 {"name":"turret","bone":"turret","attachment":"turret"},
 {"name":"head","bone":"head","attachment":"head"},
 {"name":"body","bone":"hull","attachment":"body"}],
"skins":{"default":{
 "treads":{"tread0":{"y":8,"width":60,"height":16},"tread1":{"name":"tread1","y":8,"width":60,"height":16}},
 "hull":{"hull":{"y":10,"width":52,"height":20}},
 "turret":{"turret":{"y":6,"width":30,"height":14}},
 "cannon":{"cannon":{"x":14,"width":28,"height":8}},
 "head":{"head":{"x":-6,"y":4,"rotation":180,"width":18,"height":16}},
 "body":{"body":{"type":"boundingbox","vertices":[-28,0,28,0,28,40,-28,40]}}}},
"animations":{
 "idle":{
  "bones":{"head":{"rotate":[{"time":0,"angle":0},{"time":0.75,"angle":-8},{"time":1.5,"angle":0}]},
           "turret":{"translate":[{"time":0,"y":0},{"time":0.75,"y":1},{"time":1.5,"y":0}]}}},
 "roll":{
  "slots":{"treads":{"attachment":[{"time":0,"name":"tread0"},{"time":0.15,"name":"tread1"},{"time":0.3,"name":"tread0"}]}},
  "bones":{"hull":{"translate":[{"time":0,"y":0},{"time":0.15,"y":1},{"time":0.3,"y":0}]}}},
 "fire":{
  "bones":{"cannon":{"translate":[{"time":0,"x":0},{"time":0.1,"x":-6},{"time":0.5,"x":0}],
                     "scale":[{"time":0,"x":1,"y":1},{"time":0.1,"x":0.9,"y":1.3},{"time":0.5,"x":1,"y":1}]},
           "turret":{"rotate":[{"time":0,"angle":0},{"time":0.1,"angle":-6,"curve":[0.25,0,0.75,1]},{"time":0.5,"angle":0}]}},
  "slots":{"cannon":{"color":[{"time":0,"color":"ffffffff"},{"time":0.1,"color":"ffc040ff","curve":"stepped"},{"time":0.3,"color":"ffffffff"}]}},
  "draworder":[{"time":0,"offsets":[{"slot":"cannon","offset":3}]},{"time":0.5}]}}}
)";

static void MakeDragonTank()
{
    PuppetPart tParts[] = {{"tread0", 60, 16, PaintTread0, 0, 0}, {"tread1", 60, 16, PaintTread1, 0, 0},
                           {"hull", 52, 20, PaintHull, 0, 0},     {"turret", 30, 14, PaintTurret, 0, 0},
                           {"cannon", 28, 8, PaintCannon, 0, 0},  {"head", 18, 16, PaintDragonHead, 0, 0}};
    MakeDirectory("DragonTank");
    WritePage("DragonTank/skeleton", "skeleton.png", tParts, (int)(sizeof(tParts) / sizeof(tParts[0])));
    WriteText("DragonTank/skeleton", ".json", cDragonTankSkeleton);
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genpuppets", argc, argv)) return 2;
    MakeGoblin();
    MakeDragonTank();
    return 0;
}
