/* korvio: serial ports and engine-computer protocols for Korvlog and Korvview. */
#ifndef KORVIO_H
#define KORVIO_H

#ifdef __cplusplus
extern "C" {
#endif
#define KORVIO_VERSION 6
#define KORVIO_API __attribute__((visibility("default"))) /* on each entry point below */

/* What the calling object offers the library: its stop flags and its callbacks.
   A NULL member is a missing field or method, found before the first request of a run. */
typedef struct korvio_host {
    void* object;       /* handed back to every callback */
    int* obd_stop_flag; /* the caller's static flags: 1 run, 2 pause, 0 stop */
    int* drb_stop_flag;
    int* pms_stop_flag;
    void (*update_status)(void* object, int n);
    void (*update_pause)(void* object, int flag);
    void (*plot_point)(void* object, int cable, int port, int hi, int lo, int code);
    void (*update_pnkorv)(void* object, int n);
} korvio_host;

KORVIO_API int SioReset(int cable, int port, int in_queue, int out_queue);
KORVIO_API int SioDone(int port);
KORVIO_API int logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                       int chart_flag);
KORVIO_API int getDTC(int port, int cable);
KORVIO_API int clearDTC(int port);
KORVIO_API int getver(void);
KORVIO_API int dodiag(int port, int code);
KORVIO_API int getPMS(int port, int mode, int a, int b);
KORVIO_API int getPNKORV(const korvio_host* host, int port);
#ifdef __cplusplus
}
#endif

#endif /* KORVIO_H */
