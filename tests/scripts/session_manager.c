/* A minimal X11 session manager (XSMP) for the end-to-end test: one client, and a logout as a
 * desktop runs it. Prints the SESSION_MANAGER value, then "registered" when the client has
 * come; on the line "logout" from standard input it asks the client to save for a shutdown
 * (interaction allowed) and prints "interact" if the client asks to talk to the player,
 * "cancel" if it cancels the logout, "hint N" for the restart style it sets, "restart A B ..."
 * for the restart command it sets (its words one space apart) and "done S" with
 * the success of its save; on "die" it ends the client and prints "closed" when it has gone.
 * Every line is flushed. Ends by itself after 60 seconds. */
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* libICE's own transport switch: the test listens on no network port. */
extern int _IceTransNoListen(const char* protocol);

static SmsConn client;
static int closed;

static void say(const char* what) {
    puts(what);
    fflush(stdout);
}

static Status Register(SmsConn c, SmPointer d, char* previous) {
    (void)d;
    free(previous);
    char* id = SmsGenerateClientID(c);
    Status ok = id != NULL && SmsRegisterClientReply(c, id);
    free(id);
    client = c;
    say("registered");
    return ok;
}

static void InteractRequest(SmsConn c, SmPointer d, int type) {
    (void)d;
    (void)type;
    say("interact");
    SmsInteract(c);
}

static void InteractDone(SmsConn c, SmPointer d, Bool cancel) {
    (void)c;
    (void)d;
    if (cancel) {
        say("cancel");
    }
}

static void SaveRequest(SmsConn c, SmPointer d, int t, Bool s, int i, Bool f, Bool g) {
    (void)c, (void)d, (void)t, (void)s, (void)i, (void)f, (void)g;
}

static void Phase2(SmsConn c, SmPointer d) {
    (void)d;
    SmsSaveYourselfPhase2(c);
}

static void SaveDone(SmsConn c, SmPointer d, Bool success) {
    (void)c;
    (void)d;
    say(success ? "done 1" : "done 0");
}

static void Close(SmsConn c, SmPointer d, int count, char** reasons) {
    (void)d;
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(c);
    SmsCleanUp(c);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    closed = 1;
    say("closed");
}

static void SetProps(SmsConn c, SmPointer d, int n, SmProp** props) {
    (void)c;
    (void)d;
    for (int i = 0; i < n; ++i) {
        if (strcmp(props[i]->name, SmRestartStyleHint) == 0 && props[i]->num_vals == 1) {
            printf("hint %d\n", ((unsigned char*)props[i]->vals[0].value)[0]);
            fflush(stdout);
        }
        if (strcmp(props[i]->name, SmRestartCommand) == 0) {
            fputs("restart", stdout);
            for (int v = 0; v < props[i]->num_vals; ++v) {
                printf(" %.*s", props[i]->vals[v].length, (char*)props[i]->vals[v].value);
            }
            putchar('\n');
            fflush(stdout);
        }
        SmFreeProperty(props[i]);
    }
    free(props);
}

static void DeleteProps(SmsConn c, SmPointer d, int n, char** names) {
    (void)c;
    (void)d;
    for (int i = 0; i < n; ++i) {
        free(names[i]);
    }
    free(names);
}

static void GetProps(SmsConn c, SmPointer d) {
    (void)d;
    SmsReturnProperties(c, 0, NULL);
}

static Status NewClient(SmsConn c, SmPointer d, unsigned long* mask, SmsCallbacks* cb,
                        char** reason) {
    (void)c;
    (void)d;
    (void)reason;
    memset(cb, 0, sizeof *cb);
    cb->register_client.callback = Register;
    cb->interact_request.callback = InteractRequest;
    cb->interact_done.callback = InteractDone;
    cb->save_yourself_request.callback = SaveRequest;
    cb->save_yourself_phase2_request.callback = Phase2;
    cb->save_yourself_done.callback = SaveDone;
    cb->close_connection.callback = Close;
    cb->set_properties.callback = SetProps;
    cb->delete_properties.callback = DeleteProps;
    cb->get_properties.callback = GetProps;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    return 1;
}

static Bool AnyHost(char* host) {
    (void)host;
    return True;
}

static void IgnoreIoError(IceConn c) {
    (void)c;
}

int main(void) {
    char error[256];
    int count = 0;
    IceListenObj* listeners = NULL;
    alarm(60);
    IceSetIOErrorHandler(IgnoreIoError);
    _IceTransNoListen("tcp");
    if (!SmsInitialize("vostrel-test", "1", NewClient, NULL, AnyHost, sizeof error, error) ||
        !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        fprintf(stderr, "session manager: %s\n", error);
        return 2;
    }
    int local = -1;
    for (int i = 0; i < count; ++i) {
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
        char* id = IceGetListenConnectionString(listeners[i]);
        if (local < 0 && strncmp(id, "local/", 6) == 0) {
            local = i;
            say(id);
        }
        free(id);
    }
    if (local < 0) {
        fprintf(stderr, "session manager: no local transport\n");
        return 2;
    }
    IceConn ice = NULL;
    while (!closed) {
        struct pollfd p[2] = {
            {ice ? IceConnectionNumber(ice) : IceGetListenConnectionNumber(listeners[local]),
             POLLIN, 0},
            {0, POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            return 2;
        }
        if (p[0].revents) {
            if (ice == NULL) {
                IceAcceptStatus status;
                ice = IceAcceptConnection(listeners[local], &status);
                if (ice == NULL) {
                    return 2;
                }
            }
            if (IceProcessMessages(ice, NULL, NULL) != IceProcessMessagesSuccess && !closed) {
                say("closed");
                break;
            }
        }
        if (p[1].revents) {
            char line[32];
            if (fgets(line, sizeof line, stdin) == NULL) {
                break;
            }
            if (client && strcmp(line, "logout\n") == 0) {
                SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
            } else if (client && strcmp(line, "die\n") == 0) {
                SmsDie(client);
            }
        }
    }
    /* Removes the socket. */
    IceFreeListenObjs(count, listeners);
    return 0;
}
