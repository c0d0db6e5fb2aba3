/* Runs several commands round after round, interleaved in a random order, and
 * prints one line per run: the command's index, its wall time in microseconds
 * and its peak resident memory in KiB. Each run is a new session without a
 * terminal, with its output thrown away.
 *
 * The peak memory of a process includes what the process that forked it had
 * mapped (the high-water mark survives exec), so this launcher is small and
 * static: its own few pages are the same baseline for every command.
 *
 * Usage: measure ROUNDS COMMAND [ARGS] [-- COMMAND [ARGS]]... */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { MAX_COMMANDS = 8 };

int main(int argc, char** argv) {
    char** commands[MAX_COMMANDS];
    int count = 0;
    if (argc < 3) {
        return 2;
    }
    long rounds = atol(argv[1]);
    commands[count++] = &argv[2];
    for (int i = 2; i < argc && count < MAX_COMMANDS; ++i) {
        if (strcmp(argv[i], "--") == 0) {
            argv[i] = NULL;
            commands[count++] = &argv[i + 1];
        }
    }
    srand((unsigned)time(NULL));
    for (long round = 0; round < rounds; ++round) {
        int order[MAX_COMMANDS];
        for (int i = 0; i < count; ++i) {
            order[i] = i;
        }
        for (int i = count - 1; i > 0; --i) {
            int j = rand() % (i + 1), swap = order[i];
            order[i] = order[j];
            order[j] = swap;
        }
        for (int n = 0; n < count; ++n) {
            struct timespec start, end;
            struct rusage usage;
            int status;
            clock_gettime(CLOCK_MONOTONIC, &start);
            pid_t pid = fork();
            if (pid == 0) {
                int null = open("/dev/null", O_RDWR);
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
                setsid();
                execv(commands[order[n]][0], commands[order[n]]);
                _exit(127);
            }
            wait4(pid, &status, 0, &usage);
            clock_gettime(CLOCK_MONOTONIC, &end);
            if (status != 0) {
                fprintf(stderr, "command %d: status %d\n", order[n], status);
                return 1;
            }
            printf("%d %.1f %ld\n", order[n],
                   (double)(end.tv_sec - start.tv_sec) * 1e6 + (double)(end.tv_nsec - start.tv_nsec) / 1e3,
                   usage.ru_maxrss);
        }
    }
    return 0;
}
