// gentones: writes the sample game's sounds and its music track as 16-bit mono WAV files of
// simple generated tones.
//
//     gentones OUTPUT_DIRECTORY
//
// The names are the ones the game plays; Data/Scripts/Audio.lua registers them.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int32_t cRate = 44100;

enum Wave
{
    WAVE_SINE,
    WAVE_SQUARE,
    WAVE_NOISE,
};

struct ToneRecipe
{
    const char *mName;
    Wave mWave;
    float mStartHz;
    float mEndHz;
    int32_t mMilliseconds;
    float mLevel;
};

static const ToneRecipe cSounds[] =
{
    {"MenuChange", WAVE_SQUARE, 880.0f, 880.0f, 60, 0.25f},
    {"MenuSelect", WAVE_SQUARE, 660.0f, 1320.0f, 140, 0.25f},
    {"StageSelected", WAVE_SINE, 440.0f, 1760.0f, 600, 0.5f},
    {"HealthRecover", WAVE_SINE, 1200.0f, 1500.0f, 70, 0.4f},
    {"SubtankFill", WAVE_SINE, 900.0f, 1100.0f, 70, 0.4f},
    {"BossDoorOpen", WAVE_NOISE, 200.0f, 120.0f, 700, 0.35f},
    {"BossDoorClose", WAVE_NOISE, 120.0f, 80.0f, 500, 0.35f},
    {"BusterCharging", WAVE_SINE, 300.0f, 1200.0f, 1500, 0.3f},
    {"BusterDeflect", WAVE_SQUARE, 1800.0f, 2200.0f, 80, 0.2f},
    {"Rank1BusterShot", WAVE_SQUARE, 1000.0f, 700.0f, 90, 0.25f},
    {"Rank2BusterShot", WAVE_SQUARE, 800.0f, 400.0f, 160, 0.3f},
    {"Rank3BusterShot", WAVE_SQUARE, 600.0f, 200.0f, 260, 0.35f},
    {"Dash", WAVE_NOISE, 900.0f, 300.0f, 200, 0.25f},
    {"Jump", WAVE_SINE, 300.0f, 700.0f, 120, 0.35f},
    {"Land", WAVE_NOISE, 150.0f, 60.0f, 80, 0.3f},
    {"KestraInjured", WAVE_SQUARE, 500.0f, 150.0f, 300, 0.3f},
    {"KestraDying", WAVE_SQUARE, 400.0f, 40.0f, 1200, 0.35f},
    {"LightningStrike", WAVE_NOISE, 3000.0f, 100.0f, 900, 0.45f},
    {"TeleportIn", WAVE_SINE, 1800.0f, 300.0f, 400, 0.3f},
    {"TeleportOut", WAVE_SINE, 300.0f, 1800.0f, 400, 0.3f},
    {"EnemyHurt", WAVE_SQUARE, 420.0f, 260.0f, 70, 0.25f},
    {"EnemyExplode", WAVE_NOISE, 600.0f, 60.0f, 450, 0.35f},
    {"EnemyShoot", WAVE_SQUARE, 700.0f, 900.0f, 60, 0.2f},
};

// The music: a two-second rising intro, then a six-second phrase the game loops (2 s to 8 s).
// Note numbers are semitones from A4; 99 is a rest.
static const int32_t cRest = 99;
static const int32_t cIntroNotes[] = {-9, -5, -2, 3, -9, -5, -2, 3};
static const int32_t cPhraseNotes[] = {3, 3, 7, 10, 8, 7, 3, cRest, 5, 5, 8, 12, 10, 8, 5, cRest,
                                       3, 7, 10, 15, 14, 10, 7, 3};

static void WriteU32(unsigned char *pOut, uint32_t pValue)
{
    pOut[0] = pValue & 0xFF;
    pOut[1] = (pValue >> 8) & 0xFF;
    pOut[2] = (pValue >> 16) & 0xFF;
    pOut[3] = (pValue >> 24) & 0xFF;
}

static void WriteU16(unsigned char *pOut, uint16_t pValue)
{
    pOut[0] = pValue & 0xFF;
    pOut[1] = (pValue >> 8) & 0xFF;
}

static bool WriteWav(const char *pPath, const int16_t *pFrames, int32_t pCount)
{
    unsigned char tHeader[44];
    uint32_t tDataBytes = (uint32_t)pCount * 2;
    memcpy(tHeader, "RIFF", 4);
    WriteU32(tHeader + 4, 36 + tDataBytes);
    memcpy(tHeader + 8, "WAVEfmt ", 8);
    WriteU32(tHeader + 16, 16);
    WriteU16(tHeader + 20, 1);
    WriteU16(tHeader + 22, 1);
    WriteU32(tHeader + 24, cRate);
    WriteU32(tHeader + 28, cRate * 2);
    WriteU16(tHeader + 32, 2);
    WriteU16(tHeader + 34, 16);
    memcpy(tHeader + 36, "data", 4);
    WriteU32(tHeader + 40, tDataBytes);

    FILE *fOut = fopen(pPath, "wb");
    if(!fOut)
    {
        fprintf(stderr, "gentones: cannot write %s\n", pPath);
        return false;
    }
    unsigned char tSample[2];
    bool tOk = fwrite(tHeader, 1, sizeof(tHeader), fOut) == sizeof(tHeader);
    for(int32_t i = 0; tOk && i < pCount; i++)
    {
        WriteU16(tSample, (uint16_t)pFrames[i]);
        tOk = fwrite(tSample, 1, 2, fOut) == 2;
    }
    if(fclose(fOut) != 0) tOk = false;
    if(!tOk) fprintf(stderr, "gentones: error writing %s\n", pPath);
    return tOk;
}

static float WaveAt(Wave pWave, double pPhase, uint32_t *pNoiseState)
{
    if(pWave == WAVE_SQUARE) return fmod(pPhase, 1.0) < 0.5 ? 1.0f : -1.0f;
    if(pWave == WAVE_NOISE)
    {
        *pNoiseState = *pNoiseState * 1664525u + 1013904223u;
        return ((*pNoiseState >> 16) / 32768.0f) - 1.0f;
    }
    return (float)sin(pPhase * 2.0 * M_PI);
}

// A tone whose pitch sweeps from start to end, with a short attack and a linear release so
// it never clicks.
static void RenderTone(int16_t *pOut, int32_t pCount, Wave pWave, float pStartHz, float pEndHz, float pLevel)
{
    double tPhase = 0.0;
    uint32_t tNoise = 12345;
    float tHeld = 0.0f;
    int32_t tAttack = cRate / 200;
    for(int32_t i = 0; i < pCount; i++)
    {
        float tThrough = (float)i / (float)pCount;
        float tHz = pStartHz + (pEndHz - pStartHz) * tThrough;
        tPhase += tHz / cRate;
        float tValue;
        if(pWave == WAVE_NOISE)
        {
            // Noise held for a stretch set by the pitch gives a rougher, lower rumble.
            int32_t tHold = (int32_t)(cRate / (tHz > 1.0f ? tHz : 1.0f));
            if(tHold < 1 || i % tHold == 0) tHeld = WaveAt(pWave, tPhase, &tNoise);
            tValue = tHeld;
        }
        else
        {
            tValue = WaveAt(pWave, tPhase, &tNoise);
        }
        float tEnvelope = 1.0f - tThrough;
        if(i < tAttack) tEnvelope *= (float)i / (float)tAttack;
        pOut[i] = (int16_t)(tValue * tEnvelope * pLevel * 32000.0f);
    }
}

static float NoteHz(int32_t pNote)
{
    return 440.0f * powf(2.0f, pNote / 12.0f);
}

static bool WriteMusic(const char *pDirectory)
{
    const int32_t tIntroCount = sizeof(cIntroNotes) / sizeof(cIntroNotes[0]);
    const int32_t tPhraseCount = sizeof(cPhraseNotes) / sizeof(cPhraseNotes[0]);
    const int32_t tIntroNoteFrames = 2 * cRate / tIntroCount;
    const int32_t tPhraseNoteFrames = 6 * cRate / tPhraseCount;
    const int32_t tTotal = 8 * cRate;

    int16_t *tFrames = (int16_t *)calloc(tTotal, sizeof(int16_t));
    if(!tFrames) return false;
    int32_t tAt = 0;
    for(int32_t i = 0; i < tIntroCount && tAt + tIntroNoteFrames <= tTotal; i++, tAt += tIntroNoteFrames)
        RenderTone(tFrames + tAt, tIntroNoteFrames, WAVE_SQUARE, NoteHz(cIntroNotes[i]), NoteHz(cIntroNotes[i]), 0.2f);
    for(int32_t i = 0; i < tPhraseCount && tAt + tPhraseNoteFrames <= tTotal; i++, tAt += tPhraseNoteFrames)
    {
        if(cPhraseNotes[i] == cRest) continue;
        RenderTone(tFrames + tAt, tPhraseNoteFrames, WAVE_SINE, NoteHz(cPhraseNotes[i]), NoteHz(cPhraseNotes[i]), 0.35f);
    }

    char tPath[1024];
    snprintf(tPath, sizeof(tPath), "%s/StageSelect.wav", pDirectory);
    bool tOk = WriteWav(tPath, tFrames, tTotal);
    free(tFrames);
    return tOk;
}

int main(int pArgc, char **pArgv)
{
    if(pArgc != 2)
    {
        fprintf(stderr, "usage: gentones OUTPUT_DIRECTORY\n");
        return 2;
    }
    const char *rDirectory = pArgv[1];

    for(size_t i = 0; i < sizeof(cSounds) / sizeof(cSounds[0]); i++)
    {
        const ToneRecipe *rRecipe = &cSounds[i];
        int32_t tCount = cRate * rRecipe->mMilliseconds / 1000;
        int16_t *tFrames = (int16_t *)calloc(tCount, sizeof(int16_t));
        if(!tFrames) return 1;
        RenderTone(tFrames, tCount, rRecipe->mWave, rRecipe->mStartHz, rRecipe->mEndHz, rRecipe->mLevel);

        char tPath[1024];
        snprintf(tPath, sizeof(tPath), "%s/%s.wav", rDirectory, rRecipe->mName);
        bool tOk = WriteWav(tPath, tFrames, tCount);
        free(tFrames);
        if(!tOk) return 1;
    }
    return WriteMusic(rDirectory) ? 0 : 1;
}
