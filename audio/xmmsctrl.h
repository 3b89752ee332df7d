/* Our xmms remote-control client: the libxmms functions under their own names and
 * signatures, speaking the xmms 1.x control-socket protocol, so the same calls drive a real
 * xmms 1.2.x or our stand-in. When nothing answers, each gives what libxmms gives then:
 * 0, FALSE, NULL or 0.0, and get_info/get_eq leave or clear their outputs as libxmms does.
 *
 * Unlike libxmms, every exchange is bounded (connect, write and read within about one
 * second, no SIGPIPE), and a socket that is not ours (file or peer of another user) is
 * treated as no server. Returned strings and arrays come from malloc: free or g_free. */
#pragma once

#include <glib.h>

#ifdef __cplusplus
extern "C" {
#endif

gint xmms_remote_get_version(gint session);
gboolean xmms_remote_is_running(gint session);

void xmms_remote_play(gint session);
void xmms_remote_pause(gint session);
void xmms_remote_stop(gint session);
void xmms_remote_play_pause(gint session);
gboolean xmms_remote_is_playing(gint session);
gboolean xmms_remote_is_paused(gint session);
void xmms_remote_playlist_prev(gint session);
void xmms_remote_playlist_next(gint session);
void xmms_remote_quit(gint session);

gint xmms_remote_get_playlist_pos(gint session);
void xmms_remote_set_playlist_pos(gint session, gint pos);
gint xmms_remote_get_playlist_length(gint session);
gchar *xmms_remote_get_playlist_file(gint session, gint pos);
gchar *xmms_remote_get_playlist_title(gint session, gint pos);
gint xmms_remote_get_playlist_time(gint session, gint pos);
gint xmms_remote_get_output_time(gint session);
void xmms_remote_jump_to_time(gint session, gint pos);
void xmms_remote_get_info(gint session, gint *rate, gint *freq, gint *nch);

void xmms_remote_playlist(gint session, gchar **list, gint num, gboolean enqueue);
void xmms_remote_playlist_add(gint session, GList *list);
void xmms_remote_playlist_add_url_string(gint session, gchar *string);
void xmms_remote_playlist_ins_url_string(gint session, gchar *string, gint pos);
void xmms_remote_playlist_delete(gint session, gint pos);
void xmms_remote_playlist_clear(gint session);

void xmms_remote_get_volume(gint session, gint *vl, gint *vr);
gint xmms_remote_get_main_volume(gint session);
gint xmms_remote_get_balance(gint session);
void xmms_remote_set_volume(gint session, gint vl, gint vr);
void xmms_remote_set_main_volume(gint session, gint v);

gboolean xmms_remote_is_shuffle(gint session);
gboolean xmms_remote_is_repeat(gint session);
void xmms_remote_toggle_shuffle(gint session);
void xmms_remote_toggle_repeat(gint session);

void xmms_remote_get_eq(gint session, gfloat *preamp, gfloat **bands);
gfloat xmms_remote_get_eq_preamp(gint session);
gfloat xmms_remote_get_eq_band(gint session, gint band);
void xmms_remote_set_eq(gint session, gfloat preamp, gfloat *bands);
void xmms_remote_set_eq_preamp(gint session, gfloat preamp);
void xmms_remote_set_eq_band(gint session, gint band, gfloat value);

/* Extensions (command numbers xmms 1.2.x does not know: it reads FALSE and ignores the
 * toggle). */
gboolean xmms_remote_is_eq_active(gint session);
void xmms_remote_toggle_eq_active(gint session);

/* TRUE while the session's socket counts as silent: an exchange with it ran into its bound
 * and it has not answered since. Calls then give their "nothing answered" values at once,
 * except one short probe a second. */
gboolean xmms_remote_is_silent(gint session);

/* Bound of one whole exchange in milliseconds (default 1000); values below 1 restore it.
 * It also bounds all exchanges of one pass together. */
void xmms_remote_set_timeout(gint milliseconds);

/* A new pass of the caller's event loop begins: its exchanges get the whole bound again.
 * Without these marks a pass is the bound's length of time. */
void xmms_remote_begin_pass(void);

#ifdef __cplusplus
}
#endif
