/* The reference for bench/startup_vs_bare.sh: the least an Allegro program does to show a
 * frame. It opens an 800 by 600 OpenGL display, draws and flips one frame, says so on standard
 * error, then waits for SIGTERM or SIGINT (or exits at once with -exit) and shuts down the way
 * a plain Allegro program does. */
#include <allegro5/allegro.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>

static volatile sig_atomic_t xQuit = 0;

static void OnQuit(int pSignal)
{
    (void)pSignal;
    xQuit = 1;
}

int main(int argc, char **argv)
{
    int tExitAtOnce = argc > 1 && !strcmp(argv[1], "-exit");
    sigset_t tQuitSet, tOldSet;
    sigemptyset(&tQuitSet);
    sigaddset(&tQuitSet, SIGTERM);
    sigaddset(&tQuitSet, SIGINT);
    /* Blocked until the wait, so a signal that comes during start-up is not lost. */
    sigprocmask(SIG_BLOCK, &tQuitSet, &tOldSet);
    struct sigaction tAction;
    memset(&tAction, 0, sizeof(tAction));
    tAction.sa_handler = OnQuit;
    sigaction(SIGTERM, &tAction, NULL);
    sigaction(SIGINT, &tAction, NULL);

    if(!al_init())
    {
        fprintf(stderr, "bare: no Allegro\n");
        return 1;
    }
    al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_WINDOWED);
    ALLEGRO_DISPLAY *tDisplay = al_create_display(800, 600);
    if(!tDisplay)
    {
        fprintf(stderr, "bare: no display\n");
        return 1;
    }
    al_clear_to_color(al_map_rgb(0, 0, 0));
    al_flip_display();
    fprintf(stderr, "bare: first frame\n");

    while(!tExitAtOnce && !xQuit) sigsuspend(&tOldSet);
    al_destroy_display(tDisplay);
    return 0;
}
